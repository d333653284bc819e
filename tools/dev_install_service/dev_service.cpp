// DevInstallService: routes, answers and fault switches of the development install service.
#include "tools/dev_install_service/dev_service.h"

#include "service/json_record.h"
#include "service/payload_codec.h"

#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

namespace {

const char kJson[] = "application/json";

std::string localUrl(int port, const std::string& path)
{
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

int socketPort(int fd, bool peer)
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    const int rc = peer ? getpeername(fd, reinterpret_cast<sockaddr*>(&address), &length)
                        : getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    if (rc != 0 || address.ss_family != AF_INET) return -1;
    return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

// Shuts down the accepted socket of `request`, found among the process's descriptors by its
// two ports: the HTTP library offers handlers no other way to drop a connection unanswered.
void dropConnection(const httplib::Request& request)
{
    DIR* fds = opendir("/proc/self/fd");
    if (!fds) return;
    while (const dirent* entry = readdir(fds)) {
        const int fd = std::atoi(entry->d_name);
        if (fd > 2 && socketPort(fd, false) == request.local_port &&
            socketPort(fd, true) == request.remote_port)
            shutdown(fd, SHUT_RDWR);
    }
    closedir(fds);
}

// A chunked body without end: 64 KiB chunks of Base64 letters for as long as the client reads.
void streamEndlessBody(httplib::Response& response)
{
    response.set_chunked_content_provider(kJson, [](std::size_t, httplib::DataSink& sink) {
        static const std::string chunk(64 * 1024, 'A');
        return sink.write(chunk.data(), chunk.size());
    });
}

const char* faultName(Fault fault)
{
    switch (fault) {
    case Fault::None: return "";
    case Fault::Refuse: return "refuse";
    case Fault::Close: return "close";
    case Fault::Redirect: return "302";
    case Fault::NotFound: return "404";
    case Fault::ServerError: return "500";
    case Fault::NoData: return "no-data";
    case Fault::Endless: return "endless";
    case Fault::Stall: return "stall";
    case Fault::NoLength: return "no-length";
    case Fault::Chunked: return "chunked";
    case Fault::Gzip: return "gzip";
    case Fault::NotProgram: return "not-a-program";
    }
    return "";
}

// How long a stalled answer keeps its connection silent: longer than a client's 5 s read
// time-out, short enough for the service to stop soon after.
constexpr auto kStallTime = std::chrono::seconds(8);

using SharedFile = std::shared_ptr<std::ifstream>;

// Writes up to `length` bytes of `file` from `offset` (at most 64 KiB) to the sink; false at
// the end of the file or when the client is gone.
bool sendFilePart(std::ifstream& file, std::size_t offset, std::size_t length,
                  httplib::DataSink& sink)
{
    char buffer[64 * 1024];
    file.clear();
    file.seekg(static_cast<std::streamoff>(offset));
    file.read(buffer, static_cast<std::streamsize>(std::min(length, sizeof buffer)));
    return file.gcount() > 0 && sink.write(buffer, static_cast<std::size_t>(file.gcount()));
}

// Holds a body to `bytesPerSecond` (0: no limit): waits until `sent` bytes are due since `start`.
void keepPace(std::chrono::steady_clock::time_point start, std::uint64_t sent,
              std::uint64_t bytesPerSecond)
{
    if (bytesPerSecond == 0) return;
    const auto due = std::chrono::microseconds(sent * 1'000'000 / bytesPerSecond);
    std::this_thread::sleep_until(start + due);
}

// The body of a file answer: `length` bytes of `file` from `offset`, announced by Content-Length,
// sent at `rate` bytes per second at most (0: no limit). With `stop`, only that many are sent
// and then the connection closes (with `stall`, after kStallTime of silence). The provider has
// no length of its own because the HTTP library applies a request's Range header to every sized
// answer, and the service decides on ranges.
void serveBody(httplib::Response& response, const SharedFile& file, std::uint64_t offset,
               std::uint64_t length, std::optional<std::uint64_t> stop, bool stall,
               std::uint64_t rate)
{
    const std::uint64_t end = std::min(stop.value_or(length), length);
    const auto start = std::chrono::steady_clock::now();
    response.set_header("Content-Length", std::to_string(length));
    response.set_content_provider(
        "application/octet-stream",
        [file, offset, length, end, stall, rate, start](std::size_t sent, httplib::DataSink& sink) {
            if (sent >= length) {
                sink.done();
                return true;
            }
            if (sent >= end) {
                if (stall) std::this_thread::sleep_for(kStallTime);
                return false;
            }
            keepPace(start, sent, rate);
            return sendFilePart(*file, offset + sent, end - sent, sink);
        });
}

RangeRequest rangeRequest(const httplib::Request& request)
{
    RangeRequest asked;
    for (const auto& [first, last] : request.ranges) asked.ranges.emplace_back(first, last);
    asked.ifRange = request.get_header_value("If-Range");
    return asked;
}

// An answer without Content-Length: chunked, or ended by closing the connection (which a
// provider that answers false does at once; waiting for the keep-alive time-out instead would
// race the client's read time-out).
void serveUnsized(httplib::Response& response, const SharedFile& file, std::size_t size,
                  bool chunked)
{
    auto provider = [file, size, chunked](std::size_t offset, httplib::DataSink& sink) {
        if (offset >= size) {
            if (!chunked) return false;
            sink.done();
            return true;
        }
        return sendFilePart(*file, offset, size - offset, sink);
    };
    if (chunked)
        response.set_chunked_content_provider("application/octet-stream", provider);
    else
        response.set_content_provider("application/octet-stream", provider);
}

// A plain file name inside the served folder: no separators, no "." or "..".
bool isPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
}

// The path of `name` in `folder` when it is a regular file there; nothing when no folder is
// served, the name is not plain, or it names a subfolder (which opens as a stream too, with a
// nonsense size).
std::optional<std::string> servedFilePath(const std::string& folder, const std::string& name)
{
    if (folder.empty() || !isPlainFileName(name)) return std::nullopt;
    const std::string path = folder + "/" + name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    return path;
}

}  // namespace

DevInstallService::DevInstallService(ServiceOptions options)
    : options_(std::move(options)), requestLog_(options_.requestLog),
      telemetryLog_(options_.telemetryLog),
      cuts_(options_.cutAfter, options_.cutSeed, options_.randomCuts)
{
    registerRoutes();
}

int DevInstallService::bind()
{
    if (!requestLog_.ok() || !telemetryLog_.ok()) return -1;
    const int port = options_.port == 0
                         ? server_.bind_to_any_port("127.0.0.1")
                         : (server_.bind_to_port("127.0.0.1", options_.port) ? options_.port : -1);
    if (port <= 0) return -1;
    if (options_.downloadUrl.empty()) options_.downloadUrl = localUrl(port, "/package.exe");
    if (options_.privacyUrl.empty()) options_.privacyUrl = localUrl(port, "/privacy.html");
    if (options_.agreementUrl.empty()) options_.agreementUrl = localUrl(port, "/agreement.html");
    return port;
}

void DevInstallService::run()
{
    server_.listen_after_bind();
}

void DevInstallService::stop()
{
    server_.stop();
}

void DevInstallService::registerRoutes()
{
    using httplib::Request;
    using httplib::Response;
    server_.Post("/v1/initInstall",
                 [this](const Request& rq, Response& rs) { handleInitInstall(rq, rs); });
    server_.Post("/v1/runIUInfo",
                 [this](const Request& rq, Response& rs) { handleRunIUInfo(rq, rs); });
    // Where the 302 fault points: a client that followed it would get a valid answer here.
    const auto redirected = [this](const Request& rq, Response& rs) {
        if (!logAndApplyFault(rq, rs)) rs.set_content(handshakeAnswer(), kJson);
    };
    server_.Post("/redirected", redirected);
    server_.Get("/redirected", redirected);
    server_.Get(R"(/([^/]+))", [this](const Request& rq, Response& rs) { handleFile(rq, rs); });
}

std::string DevInstallService::handshakeAnswer() const
{
    JsonRecord inner;
    inner.add("currVersion").setString(options_.currVersion);
    inner.add("downloadUrl").setString(options_.downloadUrl);
    inner.add("privacyUrl").setString(options_.privacyUrl);
    inner.add("agreementUrl").setString(options_.agreementUrl);

    JsonRecord answer;
    answer.add("code").setInt(0);
    answer.add("data").setString(encryptPayload(inner.serialize(1)));
    return answer.serialize(1);
}

void DevInstallService::handleInitInstall(const httplib::Request& request,
                                          httplib::Response& response)
{
    if (logAndApplyFault(request, response)) return;
    response.set_content(handshakeAnswer(), kJson);
}

void DevInstallService::handleRunIUInfo(const httplib::Request& request,
                                        httplib::Response& response)
{
    if (logAndApplyFault(request, response)) return;
    telemetryLog_.append(decryptPayload(request.body));
    response.set_content(R"({"code":0})", kJson);
}

void DevInstallService::handleFile(const httplib::Request& request, httplib::Response& response)
{
    const Fault fault = logRequest(request);
    if (answerWithFault(fault, request, response)) return;
    const auto path = servedFilePath(options_.filesDir, request.matches[1]);
    if (path) replaceOnce(*path);
    const auto served = path ? examineServedFile(*path, options_.validators) : std::nullopt;
    auto file = served ? std::make_shared<std::ifstream>(*path, std::ios::binary) : nullptr;
    if (!file || !*file) {
        response.status = 404;
        return;
    }
    switch (fault) {
    case Fault::NoLength: serveUnsized(response, file, served->size, false); return;
    case Fault::Chunked: serveUnsized(response, file, served->size, true); return;
    case Fault::Gzip: response.set_header("Content-Encoding", "gzip"); break;
    default: break;
    }
    const FilePart part = planFilePart(*served, rangeRequest(request), options_.ranges);
    response.status = part.status;
    if (part.acceptRanges) response.set_header("Accept-Ranges", "bytes");
    if (!part.contentRange.empty()) response.set_header("Content-Range", part.contentRange);
    if (part.status == 416) return;
    if (!served->etag.empty()) response.set_header("ETag", served->etag);
    if (!served->lastModified.empty()) response.set_header("Last-Modified", served->lastModified);
    const bool stall = fault == Fault::Stall;
    const auto stop =
        stall ? std::optional<std::uint64_t>(part.length / 2) : cuts_.nextCut(part.length);
    serveBody(response, file, part.offset, part.length, stop, stall, options_.rate);
}

void DevInstallService::replaceOnce(const std::string& path)
{
    if (fileRequests_++ != options_.replaceAfter || options_.replaceWith.empty()) return;
    std::error_code error;
    std::filesystem::rename(options_.replaceWith, path, error);
}

bool DevInstallService::faultHits(const std::string& path)
{
    if (options_.fault == Fault::None || path != options_.faultPath) return false;
    std::lock_guard<std::mutex> lock(countsMutex_);
    const int seen = ++requestCounts_[path];
    return options_.faultCount < 0 || seen <= options_.faultCount;
}

Fault DevInstallService::logRequest(const httplib::Request& request)
{
    const bool hit = faultHits(request.path);
    requestLog_.append(requestLogLine(request, hit ? faultName(options_.fault) : ""));
    return hit ? options_.fault : Fault::None;
}

bool DevInstallService::logAndApplyFault(const httplib::Request& request,
                                         httplib::Response& response)
{
    return answerWithFault(logRequest(request), request, response);
}

bool DevInstallService::answerWithFault(Fault fault, const httplib::Request& request,
                                        httplib::Response& response)
{
    switch (fault) {
    case Fault::None:
    case Fault::Refuse:
    case Fault::Stall:
    case Fault::NoLength:
    case Fault::Chunked:
    case Fault::Gzip: return false;
    case Fault::Close: dropConnection(request); return true;
    case Fault::Redirect: response.set_redirect("/redirected", 302); return true;
    case Fault::NotFound:
        response.status = 404;
        response.set_content("not found", "text/plain");
        return true;
    case Fault::ServerError:
        response.status = 500;
        response.set_content("internal error", "text/plain");
        return true;
    case Fault::NoData: response.set_content(R"({"code":0,"msg":"ok"})", kJson); return true;
    case Fault::Endless: streamEndlessBody(response); return true;
    case Fault::NotProgram:
        response.set_content("this is not a program\r\n", "application/octet-stream");
        return true;
    }
    return false;
}
