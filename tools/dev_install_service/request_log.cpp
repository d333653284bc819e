// Line logs of the development install service.
#include "tools/dev_install_service/request_log.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>

LineLog::LineLog(const std::string& path) : path_(path)
{
    if (!path_.empty()) file_.reset(std::fopen(path_.c_str(), "a"));
}

void LineLog::append(const std::string& line)
{
    if (!file_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    std::fputs(line.c_str(), file_.get());
    std::fputc('\n', file_.get());
    std::fflush(file_.get());
}

std::string jsonQuoted(const std::string& bytes)
{
    std::string out = "\"";
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

namespace {

// The names of the headers the client sent, in the library's order (by name, ignoring case),
// without the ones the library adds itself for handlers (REMOTE_ADDR and the like).
std::string headerNames(const httplib::Request& request)
{
    std::string names = "[";
    for (const auto& header : request.headers) {
        const std::string& name = header.first;
        if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
            name == "LOCAL_PORT")
            continue;
        names += (names.size() > 1 ? "," : "") + jsonQuoted(name);
    }
    return names + "]";
}

}  // namespace

std::string requestLogLine(const httplib::Request& request, const std::string& fault)
{
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    char time[32];
    std::snprintf(time, sizeof time, "%lld.%06lld", static_cast<long long>(micros / 1000000),
                  static_cast<long long>(micros % 1000000));

    std::string line = std::string("{\"time\":") + time;
    line += ",\"method\":" + jsonQuoted(request.method);
    line += ",\"path\":" + jsonQuoted(request.path);
    line += ",\"userAgent\":" + jsonQuoted(request.get_header_value("User-Agent"));
    line += ",\"connection\":" + jsonQuoted(request.get_header_value("Connection"));
    line += ",\"contentType\":" + jsonQuoted(request.get_header_value("Content-Type"));
    line += ",\"accept\":" + jsonQuoted(request.get_header_value("Accept"));
    line += ",\"range\":" + jsonQuoted(request.get_header_value("Range"));
    line += ",\"ifRange\":" + jsonQuoted(request.get_header_value("If-Range"));
    line += ",\"headers\":" + headerNames(request);
    line += ",\"body\":" + jsonQuoted(request.body);
    line += ",\"fault\":" + jsonQuoted(fault) + "}";
    return line;
}
