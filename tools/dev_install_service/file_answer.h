// How the development service answers for a served file: the validators it carries, the part of
// the file a Range header asks for (honoured, ignored or refused as the options say), and where
// a body is cut short to imitate a broken connection.
#pragma once

#include "tools/dev_install_service/service_options.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

// A served file as it is now.
struct ServedFile {
    std::string path;
    std::uint64_t size = 0;
    std::string etag;          // strong, changes with the file's identity, size and time
    std::string lastModified;  // an HTTP date of the file's modification time
};

// The file at `path` with the validators `validators` allows (the others empty); nothing when
// it cannot be examined.
std::optional<ServedFile> examineServedFile(const std::string& path, Validators validators);

// What a request for a file asked: its Range header parsed (first, last; -1 where absent, as
// the HTTP library gives it) and its If-Range header.
struct RangeRequest {
    std::vector<std::pair<long long, long long>> ranges;
    std::string ifRange;  // empty when absent
};

// The answer's status and the part of the file its body carries.
struct FilePart {
    int status = 200;           // 200, 206 or 416
    std::uint64_t offset = 0;   // first byte of the file in the body
    std::uint64_t length = 0;   // bytes of the body
    std::string contentRange;   // the Content-Range header; empty for a 200
    bool acceptRanges = false;  // whether the answer says "Accept-Ranges: bytes"
};

// The answer for `request` of `file` under `support`. A range is honoured only when it is the
// only one and If-Range (when sent) equals the ETag or Last-Modified exactly; otherwise the
// whole file answers with 200. A range starting at or after the end answers 416.
FilePart planFilePart(const ServedFile& file, const RangeRequest& request, RangeSupport support);

// Where answers carrying a file are cut: the listed counts first, then random points.
class CutPlan {
public:
    CutPlan(std::vector<std::uint64_t> counts, std::uint64_t seed, int randomCuts);

    // How many body bytes of the next answer, `length` bytes long, are sent before the
    // connection closes; nothing when the answer is sent whole. Thread-safe.
    std::optional<std::uint64_t> nextCut(std::uint64_t length);

private:
    std::mutex mutex_;
    std::vector<std::uint64_t> counts_;
    std::mt19937_64 random_;
    int randomCuts_;
    std::size_t answers_ = 0;
};
