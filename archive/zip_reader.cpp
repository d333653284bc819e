// The public operations of the zip reader and the per-archive reader state behind them.
#include "archive/zip_reader.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "archive/zip_directory.h"
#include "archive/zip_entry_info.h"
#include "archive/zip_file_io.h"
#include "archive/zip_item_stream.h"
#include "archive/zip_source.h"
#include "archive/zip_text.h"

namespace {

// Longest name findZipItem looks for, in wide characters.
constexpr size_t MaxSearchNameLength = 255;

// Byte comparison of two stored names; with `ignoreCase` only a-z and A-Z are folded.
bool namesMatch(const std::string& stored, const std::string& wanted, bool ignoreCase)
{
    if (stored.size() != wanted.size()) return false;
    for (size_t i = 0; i < stored.size(); ++i) {
        char a = stored[i];
        char b = wanted[i];
        if (ignoreCase) {
            if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
            if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        }
        if (a != b) return false;
    }
    return true;
}

void clearEntry(ZipEntry* entry)
{
    if (entry == nullptr) return;
    std::memset(entry, 0, sizeof *entry);
    entry->index = -1;
}

}  // namespace

// Reader state of one open archive. Used by one thread at a time.
class ZipReader {
public:
    ZipReader(std::unique_ptr<ZipSource> source, std::wstring rootFolder)
        : source_(std::move(source)), rootFolder_(std::move(rootFolder))
    {
    }

    ZipResult open() { return directory_.parse(*source_); }
    ZipResult find(const wchar_t* name, bool ignoreCase, int32_t* index, ZipEntry* entry);
    ZipResult describe(int32_t index, ZipEntry& entry);
    ZipResult unzipToMemory(int32_t index, void* destination, size_t length);
    ZipResult unzipToFile(int32_t index, const void* destination, uint32_t kind);

private:
    ZipResult checkIndex(int32_t index) const;
    ZipResult openStream(int32_t index, std::unique_ptr<ZipItemStream>& stream);
    void closeItem()
    {
        stream_.reset();
        currentItem_ = -1;
    }

    std::unique_ptr<ZipSource> source_;
    ZipDirectory directory_;
    std::wstring rootFolder_;
    int32_t currentItem_ = -1;  // entry whose data stream is open, -1 when none
    std::unique_ptr<ZipItemStream> stream_;
    int32_t cachedIndex_ = -1;  // entry last described, -1 when none
    ZipEntry cachedEntry_{};
};

// The handle callers hold. The tag tells reading archives from handles of any other kind.
struct ZipArchive {
    static constexpr uint32_t ReadingTag = 1;
    uint32_t tag = ReadingTag;
    std::unique_ptr<ZipReader> reader;
};

ZipResult ZipReader::checkIndex(int32_t index) const
{
    if (index < 0 || static_cast<uint32_t>(index) >= directory_.declaredCount()) {
        return ResultBadArguments;
    }
    // Declared, but behind a damaged central record.
    if (static_cast<uint32_t>(index) >= directory_.readableCount()) return ResultCorrupt;
    return ResultOk;
}

ZipResult ZipReader::find(const wchar_t* name, bool ignoreCase, int32_t* index, ZipEntry* entry)
{
    if (index != nullptr) *index = -1;
    clearEntry(entry);
    if (name == nullptr) return ResultBadArguments;
    std::wstring wide(name);
    if (wide.size() > MaxSearchNameLength) return ResultNotFound;
    // Replaced before conversion: in double-byte code pages 0x5C can be a trail byte.
    for (wchar_t& c : wide) {
        if (c == L'\\') c = L'/';
    }
    std::string wanted;
    if (!wideToNarrowName(wide, wanted)) return ResultNotFound;

    for (uint32_t i = 0; i < directory_.readableCount(); ++i) {
        if (!namesMatch(directory_.record(i).name, wanted, ignoreCase)) continue;
        ZipEntry found;
        const ZipResult result = describe(static_cast<int32_t>(i), found);
        if (result != ResultOk) return result;
        if (index != nullptr) *index = static_cast<int32_t>(i);
        if (entry != nullptr) *entry = found;
        return ResultOk;
    }
    // The name may be behind a damaged record; say so rather than that it is missing.
    if (directory_.readableCount() < directory_.declaredCount()) return ResultCorrupt;
    return ResultNotFound;
}

ZipResult ZipReader::describe(int32_t index, ZipEntry& entry)
{
    if (index == -1) {
        closeItem();
        std::memset(&entry, 0, sizeof entry);
        entry.index = static_cast<int32_t>(directory_.declaredCount());
        return ResultOk;
    }
    const ZipResult valid = checkIndex(index);
    if (valid == ResultBadArguments) return valid;
    closeItem();
    if (valid != ResultOk) return valid;
    if (index == cachedIndex_) {
        entry = cachedEntry_;
        return ResultOk;
    }
    const CentralRecord& record = directory_.record(static_cast<uint32_t>(index));
    LocalEntryData local;
    const ZipResult result = readLocalHeader(*source_, record, local);
    if (result != ResultOk) return result;
    fillZipEntry(index, record, local.extra, entry);
    cachedIndex_ = index;
    cachedEntry_ = entry;
    return ResultOk;
}

ZipResult ZipReader::openStream(int32_t index, std::unique_ptr<ZipItemStream>& stream)
{
    const CentralRecord& record = directory_.record(static_cast<uint32_t>(index));
    if ((record.flags & ZipFlagEncrypted) != 0) return ResultEncrypted;
    LocalEntryData local;
    const ZipResult result = readLocalHeader(*source_, record, local);
    if (result != ResultOk) return result;
    stream = ZipItemStream::open(*source_, record, local.dataOffset);
    return stream ? ResultOk : ResultNoMemory;
}

ZipResult ZipReader::unzipToMemory(int32_t index, void* destination, size_t length)
{
    if (destination == nullptr) return ResultBadArguments;
    if (index != currentItem_ || !stream_) {
        closeItem();
        const ZipResult valid = checkIndex(index);
        if (valid != ResultOk) return valid;
        const ZipResult opened = openStream(index, stream_);
        if (opened == ResultCorrupt || opened == ResultReadError) return ResultInflateError;
        if (opened != ResultOk) return opened;
        currentItem_ = index;
    }
    const ZipItemStream::ReadResult read =
        stream_->read(static_cast<uint8_t*>(destination), length);
    if (read.status == ZipItemStream::Status::SourceError) {
        closeItem();
        return ResultInflateError;
    }
    if (read.status == ZipItemStream::Status::DataError) {
        closeItem();
        return ResultCorrupt;
    }
    if (read.produced > 0) return ResultMoreData;
    closeItem();
    return ResultOk;
}

ZipResult ZipReader::unzipToFile(int32_t index, const void* destination, uint32_t kind)
{
    if (destination == nullptr || index < 0) return ResultBadArguments;
    ZipEntry entry;
    const ZipResult described = describe(index, entry);
    if (described != ResultOk) return described;
    if ((entry.attributes & ZipAttributeDirectory) != 0) {
        return createEntryFolder(rootFolder_, destination, kind);
    }
    std::unique_ptr<ZipItemStream> stream;
    const ZipResult opened = openStream(index, stream);
    if (opened != ResultOk) return opened;
    return writeEntryToFile(*stream, entry, rootFolder_, destination, kind);
}

namespace {

// Runs `operation` and stores its result as the most recent one. Running out of memory ends
// the operation with ResultNoMemory instead of an exception; a size no container can hold
// (a 32-bit process reading a central directory of gigabytes from a file) counts as that too.
template <typename Operation>
ZipResult recordOutcome(Operation operation)
{
    try {
        return recordResult(operation());
    } catch (const std::bad_alloc&) {
        return recordResult(ResultNoMemory);
    } catch (const std::length_error&) {
        return recordResult(ResultNoMemory);
    }
}

// The reader behind `archive`, or null with the result for a missing or foreign handle.
ZipReader* readerOf(ZipArchive* archive, ZipResult& failure)
{
    if (archive == nullptr) {
        failure = ResultBadArguments;
        return nullptr;
    }
    if (archive->tag != ZipArchive::ReadingTag || !archive->reader) {
        failure = ResultWrongMode;
        return nullptr;
    }
    return archive->reader.get();
}

// Runs `operation` on the reader behind `archive` and records the outcome; a missing or
// foreign handle is refused without running it.
template <typename Operation>
ZipResult withReader(ZipArchive* archive, Operation operation)
{
    ZipResult failure = ResultOk;
    ZipReader* reader = readerOf(archive, failure);
    if (reader == nullptr) return recordResult(failure);
    return recordOutcome([&] { return operation(*reader); });
}

ZipResult openSource(const void* source, size_t length, uint32_t kind,
                     std::unique_ptr<ZipSource>& out)
{
    if (kind == ZipMemory) {
        if (source == nullptr) return ResultBadArguments;
        out = std::make_unique<MemoryZipSource>(source, length);
        return ResultOk;
    }
    if (kind == ZipFileHandle || kind == ZipFileName) {
        return openFileSource(source, kind, out);
    }
    return ResultBadArguments;
}

// Opens the source and parses the archive in it; fills `out` only on success.
ZipResult openArchive(const void* source, size_t length, uint32_t kind,
                      std::unique_ptr<ZipArchive>& out)
{
    std::unique_ptr<ZipSource> opened;
    const ZipResult sourceResult = openSource(source, length, kind, opened);
    if (sourceResult != ResultOk) return sourceResult;
    auto reader = std::make_unique<ZipReader>(std::move(opened), currentFolder());
    const ZipResult parsed = reader->open();
    if (parsed != ResultOk) return parsed;
    auto archive = std::make_unique<ZipArchive>();
    archive->reader = std::move(reader);
    out = std::move(archive);
    return ResultOk;
}

}  // namespace

ZipArchive* openZip(const void* source, size_t length, uint32_t kind)
{
    std::unique_ptr<ZipArchive> archive;
    recordOutcome([&] { return openArchive(source, length, kind, archive); });
    return archive.release();
}

ZipResult findZipItem(ZipArchive* archive, const wchar_t* name, bool ignoreCase, int32_t* index,
                      ZipEntry* entry)
{
    return withReader(
        archive, [&](ZipReader& reader) { return reader.find(name, ignoreCase, index, entry); });
}

ZipResult getZipItem(ZipArchive* archive, int32_t index, ZipEntry* entry)
{
    return withReader(archive, [&](ZipReader& reader) {
        if (entry == nullptr) return ResultBadArguments;
        return reader.describe(index, *entry);
    });
}

ZipResult unzipItem(ZipArchive* archive, int32_t index, void* destination, size_t length,
                    uint32_t kind)
{
    return withReader(archive, [&](ZipReader& reader) {
        if (kind == ZipMemory) return reader.unzipToMemory(index, destination, length);
        if (kind == ZipFileHandle || kind == ZipFileName) {
            return reader.unzipToFile(index, destination, kind);
        }
        return ResultBadArguments;
    });
}

ZipResult closeZip(ZipArchive* archive)
{
    ZipResult failure = ResultOk;
    if (readerOf(archive, failure) == nullptr) return recordResult(failure);
    delete archive;
    return recordResult(ResultOk);
}
