// Validators, ranges and cuts of the development service's file answers.
#include "tools/dev_install_service/file_answer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

std::string httpDate(std::time_t time)
{
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[64];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &parts);
    return text;
}

// A strong entity tag from the file's identity, size and modification time: a file moved
// over the served one, or rewritten, gets a new one.
std::string entityTag(const struct stat& status)
{
    char text[96];
    std::snprintf(text, sizeof text, "\"%llx-%llx-%llx\"",
                  static_cast<unsigned long long>(status.st_ino),
                  static_cast<unsigned long long>(status.st_size),
                  static_cast<unsigned long long>(status.st_mtim.tv_sec) * 1000000000ULL +
                      static_cast<unsigned long long>(status.st_mtim.tv_nsec));
    return text;
}

std::string contentRange(std::uint64_t first, std::uint64_t last, std::uint64_t size)
{
    return "bytes " + std::to_string(first) + "-" + std::to_string(last) + "/" +
           std::to_string(size);
}

// The If-Range header allows the range: absent, or exactly one of the file's validators.
bool ifRangeMatches(const ServedFile& file, const std::string& ifRange)
{
    if (ifRange.empty()) return true;
    return (!file.etag.empty() && ifRange == file.etag) ||
           (!file.lastModified.empty() && ifRange == file.lastModified);
}

// First and last byte of `range` in a file of `size` bytes; nothing when unsatisfiable.
std::optional<std::pair<std::uint64_t, std::uint64_t>>
resolveRange(std::pair<long long, long long> range, std::uint64_t size)
{
    const auto [first, last] = range;
    if (size == 0) return std::nullopt;
    if (first < 0) {  // a suffix: the last `last` bytes
        if (last <= 0) return std::nullopt;
        return std::make_pair(
            size - std::min<std::uint64_t>(static_cast<std::uint64_t>(last), size), size - 1);
    }
    if (static_cast<std::uint64_t>(first) >= size) return std::nullopt;
    const std::uint64_t end =
        last < 0 ? size - 1 : std::min<std::uint64_t>(static_cast<std::uint64_t>(last), size - 1);
    if (end < static_cast<std::uint64_t>(first)) return std::nullopt;
    return std::make_pair(static_cast<std::uint64_t>(first), end);
}

}  // namespace

std::optional<ServedFile> examineServedFile(const std::string& path, Validators validators)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    ServedFile file;
    file.path = path;
    file.size = static_cast<std::uint64_t>(status.st_size);
    if (validators == Validators::Both) file.etag = entityTag(status);
    if (validators != Validators::None) file.lastModified = httpDate(status.st_mtim.tv_sec);
    return file;
}

FilePart planFilePart(const ServedFile& file, const RangeRequest& request, RangeSupport support)
{
    FilePart whole;
    whole.length = file.size;
    whole.acceptRanges = support != RangeSupport::None;
    if (support == RangeSupport::None || request.ranges.size() != 1 ||
        !ifRangeMatches(file, request.ifRange))
        return whole;

    const auto range = resolveRange(request.ranges.front(), file.size);
    FilePart part = whole;
    if (!range || support == RangeSupport::Refuse) {
        part.status = 416;
        part.length = 0;
        part.contentRange = "bytes */" + std::to_string(file.size);
        return part;
    }
    part.status = 206;
    if (support == RangeSupport::Mismatch) {
        part.contentRange = contentRange(0, file.size - 1, file.size);
        return part;
    }
    part.offset = range->first;
    part.length = range->second - range->first + 1;
    part.contentRange = contentRange(range->first, range->second, file.size);
    return part;
}

CutPlan::CutPlan(std::vector<std::uint64_t> counts, std::uint64_t seed, int randomCuts)
    : counts_(std::move(counts)), random_(seed), randomCuts_(randomCuts)
{
}

std::optional<std::uint64_t> CutPlan::nextCut(std::uint64_t length)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const std::size_t answer = answers_++;
    if (answer < counts_.size()) return counts_[answer];
    if (answer >= counts_.size() + static_cast<std::size_t>(randomCuts_) || length == 0)
        return std::nullopt;
    return std::uniform_int_distribution<std::uint64_t>(0, length - 1)(random_);
}
