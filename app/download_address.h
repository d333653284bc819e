// The download address as the worker uses it: split into the origin the HTTP client connects
// to, the remote path it requests, and the plain file name the package is saved under.
// Portable (no Windows headers).
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct DownloadAddress {
    std::string origin;      // "http://host[:port]"
    std::string remotePath;  // from the first "/" after the host to the end, query included
    std::string fileName;    // the path's last segment, without query or fragment
};

// Splits a plain "http://" address. The remote path starts at the first "/" at or after index
// 8 (just past "http://" and the host's first character). Returns nothing for any other scheme
// (https included), an address without a path, or a path whose last segment is empty.
// The file name is not checked here: see isPlainFileName.
std::optional<DownloadAddress> splitDownloadAddress(const std::string& address);

// True when `name` can only name a file directly inside a folder: not empty, not "." or "..",
// without \ / : * ? " < > | or control characters (so no drive, stream, device path or
// wildcard either), and not a device name such as CON, NUL or COM1 (with or without extension).
bool isPlainFileName(std::wstring_view name);
