// The package download over the service client's HTTP set-up, straight from the socket to the
// package file, continuing an interrupted answer where its data ends.
#include "app/package_download.h"

#include "app/progress_bands.h"
#include "app/support_log.h"
#include "app/worker_view.h"
#include "service/install_service.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string_view>

namespace {

// Hands a new percentage to the view only when it changes: one update per percent, not one
// per block of the body. One reporter serves all attempts, so a continued download goes on
// from its percentage.
class ProgressReporter {
public:
    explicit ProgressReporter(WorkerView& view) : view_(view) {}

    void update(std::uint64_t received, std::uint64_t total)
    {
        const auto percent = progressPercent(received, total);
        if (!percent || *percent == lastPercent_) return;
        lastPercent_ = *percent;
        view_.showProgress(progressFrame(*percent));
    }

private:
    WorkerView& view_;
    int lastPercent_ = -1;
};

// Takes the decimal number at the start of `text`.
std::optional<std::uint64_t> takeNumber(std::string_view& text)
{
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || next == text.data()) return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(next - text.data()));
    return value;
}

bool takeText(std::string_view& text, std::string_view prefix)
{
    if (text.substr(0, prefix.size()) != prefix) return false;
    text.remove_prefix(prefix.size());
    return true;
}

// A fresh start from `head`: what a 200 answer offers for continuing it if it breaks off.
PartialPackage startedFrom(const http::ResponseHead& head)
{
    PartialPackage partial;
    if (head.status != 200 || head.headers.has("Content-Encoding")) return partial;
    partial.total = announcedLength(head.headers.value("Content-Length"));
    partial.validator =
        resumeValidator(head.headers.value("Accept-Ranges"), head.headers.value("ETag"),
                        head.headers.value("Last-Modified"));
    return partial;
}

// One attempt's exchange: the request's range headers, and what its answer does to the
// package file and to the record of what is on disk.
class AttemptExchange {
public:
    AttemptExchange(PackageSink& sink, PartialPackage& partial, ProgressReporter& progress)
        : sink_(sink), partial_(partial), progress_(progress), resuming_(partial.resumable()),
          requestedFrom_(partial.received)
    {
    }

    http::Result fetch(const http::Client& client, const std::string& path)
    {
        http::Request request;
        request.path = path;
        request.headers = requestHeaders();
        request.onHead = [this](const http::ResponseHead& head) { return onHead(head); };
        request.onBody = [this](const char* data, std::size_t size) { return onBody(data, size); };
        request.onProgress = [this](std::uint64_t received, std::uint64_t total) {
            if (packageBody_) progress_.update(offset_ + received, offset_ + total);
            return true;
        };
        return client.send(request);
    }

    // True when the package is complete: a 200 answer, or the 206 that continued the file,
    // arrived whole and was written.
    bool succeeded(const http::Result& result) const
    {
        return result && written_ &&
               (result.status == 200 || (continuing_ && partial_.received == partial_.total));
    }
    bool written() const { return written_; }

    // The support log's account of the exchange: status or transport error, the bytes of the
    // body, the time and rate, and where in the package the body went.
    std::string summary(const http::Result& result, double seconds) const
    {
        std::string text = result ? "status " + std::to_string(result.status)
                                  : std::string("transport error ") + http::errorName(result.error);
        char rate[96];
        std::snprintf(rate, sizeof rate, " bytes in %.2f s (%.2f MB/s)", seconds,
                      seconds > 0 ? static_cast<double>(bodyBytes_) / 1e6 / seconds : 0.0);
        text += ", " + std::to_string(bodyBytes_) + rate;
        if (continuing_)
            text += ", resumed from byte " + std::to_string(offset_);
        else if (resuming_)
            text +=
                ", asked to resume from byte " + std::to_string(requestedFrom_) + ", started over";
        else
            text += ", from the start";
        return written_ ? text : text + ", the package file could not be written";
    }

private:
    // Nothing of the worker's own on a fresh start: the request stays the one peers expect.
    http::Headers requestHeaders() const
    {
        http::Headers headers;
        if (!resuming_) return headers;
        headers.add("Range", "bytes=" + std::to_string(partial_.received) + "-");
        headers.add("If-Range", partial_.validator);
        return headers;
    }

    // A 206 continuing the file appends to it; any other answer starts the file over.
    bool onHead(const http::ResponseHead& head)
    {
        if (resuming_ && head.status == 206 &&
            continuesPackage(head.headers.value("Content-Range"), partial_)) {
            continuing_ = packageBody_ = true;
            offset_ = partial_.received;
            return true;
        }
        if (resuming_ && !(written_ = sink_.restart())) return false;
        partial_ = startedFrom(head);
        packageBody_ = head.status == 200;
        return true;
    }

    bool onBody(const char* data, std::size_t size)
    {
        if (!(written_ = sink_.write(data, size))) return false;
        partial_.received += size;
        bodyBytes_ += size;
        return true;
    }

    PackageSink& sink_;
    PartialPackage& partial_;
    ProgressReporter& progress_;
    const bool resuming_;
    const std::uint64_t requestedFrom_;  // the first byte asked for when resuming
    bool continuing_ = false;            // the answer continues the file
    bool packageBody_ = false;           // the body is the package's (not a 404's page)
    bool written_ = true;                // every write (and the restart) succeeded
    std::uint64_t offset_ = 0;           // where this answer's body starts in the package
    std::uint64_t bodyBytes_ = 0;        // bytes of this answer's body written
};

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The package file for the next attempt: continued after `partial`'s bytes, or, when it cannot
// be continued (or no longer holds exactly those bytes), created empty.
std::unique_ptr<PackageSink> openForAttempt(const DownloadJob& job, const WorkerSeams& seams,
                                            PartialPackage& partial)
{
    if (partial.resumable())
        if (auto sink = seams.openPackage(job.packagePath, partial.received)) return sink;
    partial = PartialPackage();
    return seams.openPackage(job.packagePath, 0);
}

// Logs an attempt that failed before its request; false.
bool notSent(const std::string& attempt, const char* reason)
{
    logLine(attempt + "not sent, " + reason);
    return false;
}

// One download attempt (`number` from 1); never throws (a failure of any kind is a failed
// attempt). What it leaves on disk is kept for the next one only when every byte of it reached
// the file. Each attempt writes one line to the support log.
bool attemptDownload(int number, const DownloadJob& job, const WorkerSeams& seams,
                     PartialPackage& partial, ProgressReporter& progress) noexcept
{
    try {
        const std::string attempt = "download attempt " + std::to_string(number) + ": ";
        if (!job.usable()) return notSent(attempt, "the download address cannot be used");
        const auto sink = openForAttempt(job, seams, partial);
        if (!sink) return notSent(attempt, "the package file cannot be created");
        const auto client = makeServiceClient(job.origin);
        if (!client) return notSent(attempt, "no HTTP client for the address");
        AttemptExchange exchange(*sink, partial, progress);
        const auto started = std::chrono::steady_clock::now();
        const auto result = exchange.fetch(*client, job.remotePath);
        const bool closed = sink->close();
        logLine(attempt + exchange.summary(result, secondsSince(started)) +
                (closed ? "" : ", the package file did not close cleanly"));
        if (!closed || !exchange.written()) partial = PartialPackage();
        return closed && exchange.succeeded(result);
    } catch (...) {
        logLine("download attempt failed with an exception");
        partial = PartialPackage();
        return false;
    }
}

}  // namespace

bool downloadPackage(const DownloadJob& job, const WorkerSeams& seams)
{
    PartialPackage partial;
    ProgressReporter progress(*job.view);
    for (int attempt = 1; attempt <= kDownloadAttempts; ++attempt) {
        if (attemptDownload(attempt, job, seams, partial, progress)) return true;
        seams.pause(kPauseAfterFailedDownload);
    }
    return false;
}

std::string resumeValidator(const std::string& acceptRanges, const std::string& etag,
                            const std::string& lastModified)
{
    if (!http::equalsIgnoringCase(acceptRanges, "bytes")) return std::string();
    if (!etag.empty() && etag.compare(0, 2, "W/") != 0) return etag;
    return lastModified;
}

bool continuesPackage(const std::string& contentRange, const PartialPackage& partial)
{
    std::string_view text = contentRange;
    if (!takeText(text, "bytes ")) return false;
    const auto first = takeNumber(text);
    if (!first || !takeText(text, "-")) return false;
    const auto last = takeNumber(text);
    if (!last || !takeText(text, "/")) return false;
    const auto total = takeNumber(text);
    return total && text.empty() && *first == partial.received && *total == partial.total &&
           *last + 1 == *total;
}

std::uint64_t announcedLength(const std::string& contentLength)
{
    std::string_view text = contentLength;
    const auto length = takeNumber(text);
    return length && text.empty() ? *length : 0;
}
