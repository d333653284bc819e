// Result texts and the most recent result of the zip reader.
#include "archive/zip_result.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

// Written by every public operation, possibly from several threads; the value only has
// meaning on the thread that made the last call.
std::atomic<ZipResult> mostRecentResult{ResultOk};

struct ResultText {
    ZipResult code;
    const char* text;
};

constexpr ResultText resultTexts[] = {
    {ResultOk, "Success"},
    {ResultDuplicateHandle, "Culdn't duplicate handle"},
    {ResultCannotOpen, "Couldn't create/open file"},
    {ResultNoMemory, "Failed to allocate memory"},
    {ResultWriteError, "Error writing to file"},
    {ResultNotFound, "File not found in the zipfile"},
    {ResultMoreData, "Still more data to unzip"},
    {ResultCorrupt, "Zipfile is corrupt or not a zipfile"},
    {ResultReadError, "Error reading file"},
    {ResultEncrypted, "Encrypted entries are not supported"},
    {ResultBadArguments, "Caller: faulty arguments"},
    {ResultNotMemoryArchive, "Caller: can only get memory of a memory zipfile"},
    {ResultMemoryTooSmall, "Caller: not enough space allocated for memory zipfile"},
    {ResultPreviousError, "Caller: there was a previous error"},
    {ResultAlreadyEnded, "Caller: additions to the zip have already been ended"},
    {ResultSizeMismatch, "Zip-bug: the anticipated size turned out wrong"},
    {ResultPartlyUnzipped, "Caller: the file had already been partially unzipped"},
    {ResultWrongMode, "Caller: mixing creation and opening of zip"},
    {ResultNotInitialised, "Zip-bug: internal initialisation not completed"},
    {ResultUnseekable, "Zip-bug: trying to seek the unseekable"},
    {ResultNoChange, "Zip-bug: tried to change mind, but not allowed"},
    {ResultInflateError, "Zip-bug: an internal error during flation"},
};

}  // namespace

const char* zipResultText(ZipResult code)
{
    for (const ResultText& entry : resultTexts) {
        if (entry.code == code) return entry.text;
    }
    return "unknown zip result code";
}

ZipResult recordResult(ZipResult code)
{
    mostRecentResult.store(code, std::memory_order_relaxed);
    return code;
}

ZipResult lastZipResult()
{
    return mostRecentResult.load(std::memory_order_relaxed);
}

size_t formatZipMessage(ZipResult code, char* buffer, size_t size)
{
    if (code == ResultMostRecent) code = lastZipResult();
    const char* text = zipResultText(code);
    const size_t length = std::strlen(text);
    if (buffer == nullptr || size == 0) return length;
    const size_t copied = std::min(length, size - 1);
    std::memcpy(buffer, text, copied);
    buffer[copied] = '\0';
    return length;
}
