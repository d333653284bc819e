// Line logs of the development install service: the request log (one JSON object per request,
// with its arrival time, so tests can check bodies, headers and the spacing of attempts) and
// the telemetry log (one decrypted record per line).
#pragma once

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

namespace httplib {
struct Request;
}

// Appends whole lines to a file, flushing each, from any thread. An empty path logs nothing.
class LineLog {
public:
    explicit LineLog(const std::string& path);

    // Returns false when the file could not be opened.
    bool ok() const { return path_.empty() || file_ != nullptr; }
    void append(const std::string& line);

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::string path_;
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::mutex mutex_;
};

// The request log line: {"time":seconds since 1970 with microseconds,"method","path",
// "userAgent","connection","contentType","accept","range","ifRange","headers" (the names the
// client sent),"body","fault"}. Header values are empty when absent. Bytes outside printable ASCII
// are written as \u00XX, so each byte of the body maps to one code point (decode the string as
// Latin-1 to get the raw bytes back).
std::string requestLogLine(const httplib::Request& request, const std::string& fault);

// A JSON string literal of `bytes` with the escaping described above.
std::string jsonQuoted(const std::string& bytes);
