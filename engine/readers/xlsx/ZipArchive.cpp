#include "engine/readers/xlsx/ZipArchive.h"

#include "engine/model/ReadError.h"
#include "engine/readers/WorkbookFile.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace engine {
namespace {

constexpr uint32_t EndOfDirectorySignature = 0x06054b50;
constexpr uint32_t Zip64LocatorSignature = 0x07064b50;
constexpr uint32_t Zip64EndSignature = 0x06064b50;
constexpr uint32_t DirectorySignature = 0x02014b50;
constexpr uint32_t LocalSignature = 0x04034b50;
constexpr uint16_t Zip64ExtraId = 0x0001;
constexpr size_t EndOfDirectorySize = 22;
constexpr size_t DirectoryHeaderSize = 46;
constexpr size_t LocalHeaderSize = 30;
constexpr size_t MaxCommentSize = 0xFFFF;
constexpr size_t ChunkSize = ChunkPipeline::BufferSize;
constexpr uint16_t Stored = 0;
constexpr uint16_t Deflated = 8;
constexpr uint16_t EncryptedFlag = 0x0001;
constexpr uint16_t Utf8NameFlag = 0x0800;

uint16_t Read16(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return static_cast<uint16_t>(u[0] | (u[1] << 8));
}

uint32_t Read32(const char* p) {
    return Read16(p) | (static_cast<uint32_t>(Read16(p + 2)) << 16);
}

uint64_t Read64(const char* p) {
    return Read32(p) | (static_cast<uint64_t>(Read32(p + 4)) << 32);
}

void CheckCrc(const ZipArchive::Entry& entry, uint32_t crc) {
    if (crc != entry.crc) {
        throw ReadError(ReadErrorCode::ZipCrcMismatch, {.part = entry.name});
    }
}

// The most a member of `compressed` bytes may inflate to.
uint64_t InflateLimit(std::string_view compressed) {
    return std::max<uint64_t>(compressed.size(), 1) * ZipArchive::MaxRatio +
           ZipArchive::RatioAllowance;
}

QString FoldName(QStringView name) {
    QString folded = name.toString().toLower();
    folded.replace(u'\\', u'/');
    while (folded.startsWith(u'/')) {
        folded.remove(0, 1);
    }
    return folded;
}

}  // namespace

ZipArchive::ZipArchive(const QString& path, ReadPolicy policy)
    : bytes_(WorkbookFile::ReadAll(path, MaxFileSize)), policy_(policy) {
    data_ = std::string_view(bytes_.constData(), static_cast<size_t>(bytes_.size()));
    ReadCentralDirectory();
}

std::string_view ZipArchive::Bytes(uint64_t offset, uint64_t size, const char* what) const {
    if (offset > data_.size() || size > data_.size() - offset) {
        throw ReadError(ReadErrorCode::ZipRangePastEnd, {.part = QLatin1String(what),
                                                         .offset = int64_t(offset),
                                                         .expected = int64_t(size),
                                                         .found = int64_t(data_.size())});
    }
    return data_.substr(static_cast<size_t>(offset), static_cast<size_t>(size));
}

void ZipArchive::ReadCentralDirectory() {
    if (data_.size() < EndOfDirectorySize) {
        throw ReadError(ReadErrorCode::ZipTooShort, {.found = int64_t(data_.size())});
    }
    // The end record is the last thing in the file, followed by a comment of up to 64 KiB.
    const size_t lowest = data_.size() > EndOfDirectorySize + MaxCommentSize
                              ? data_.size() - EndOfDirectorySize - MaxCommentSize
                              : 0;
    size_t end = data_.size() - EndOfDirectorySize + 1;
    do {
        --end;
        if (Read32(data_.data() + end) == EndOfDirectorySignature) {
            break;
        }
    } while (end > lowest);
    if (Read32(data_.data() + end) != EndOfDirectorySignature) {
        throw ReadError(ReadErrorCode::ZipNoEndRecord);
    }
    const char* record = data_.data() + end;
    uint64_t count = Read16(record + 10);
    uint64_t directorySize = Read32(record + 12);
    uint64_t directoryOffset = Read32(record + 16);
    if ((count == 0xFFFF || directorySize == 0xFFFFFFFF || directoryOffset == 0xFFFFFFFF) &&
        end >= 20 && Read32(data_.data() + end - 20) == Zip64LocatorSignature) {
        const uint64_t zip64End = Read64(data_.data() + end - 20 + 8);
        const std::string_view zip64 = Bytes(zip64End, 56, "zip64 end record");
        if (Read32(zip64.data()) != Zip64EndSignature) {
            throw ReadError(ReadErrorCode::ZipBadZip64Record);
        }
        count = Read64(zip64.data() + 32);
        directorySize = Read64(zip64.data() + 40);
        directoryOffset = Read64(zip64.data() + 48);
    }
    if (count > MaxEntries) {
        throw ReadError(ReadErrorCode::ZipTooManyMembers, {.found = int64_t(count)});
    }
    const std::string_view directory = Bytes(directoryOffset, directorySize, "central directory");
    entries_.reserve(static_cast<size_t>(count));
    size_t at = 0;
    for (uint64_t i = 0; i < count; ++i) {
        if (directory.size() - at < DirectoryHeaderSize ||
            Read32(directory.data() + at) != DirectorySignature) {
            throw ReadError(ReadErrorCode::ZipBadDirectoryEntry,
                            {.offset = int64_t(directoryOffset + at), .found = int64_t(i)});
        }
        const char* header = directory.data() + at;
        Entry entry;
        entry.flags = Read16(header + 8);
        entry.method = Read16(header + 10);
        entry.crc = Read32(header + 16);
        entry.compressedSize = Read32(header + 20);
        entry.uncompressedSize = Read32(header + 24);
        const size_t nameLength = Read16(header + 28);
        const size_t extraLength = Read16(header + 30);
        const size_t commentLength = Read16(header + 32);
        entry.localHeaderOffset = Read32(header + 42);
        const size_t total = DirectoryHeaderSize + nameLength + extraLength + commentLength;
        if (directory.size() - at < total) {
            throw ReadError(ReadErrorCode::ZipBadDirectoryEntry, {.found = int64_t(i)});
        }
        const char* name = header + DirectoryHeaderSize;
        entry.name = (entry.flags & Utf8NameFlag)
                         ? QString::fromUtf8(name, qsizetype(nameLength))
                         : QString::fromLatin1(name, qsizetype(nameLength));
        entry.name.replace(u'\\', u'/');
        // Sizes and offset that do not fit 32 bits follow in the zip64 extra field, in order.
        const char* extra = name + nameLength;
        for (size_t e = 0; e + 4 <= extraLength;) {
            const uint16_t id = Read16(extra + e);
            const size_t length = Read16(extra + e + 2);
            if (e + 4 + length > extraLength) {
                break;
            }
            if (id == Zip64ExtraId) {
                const char* field = extra + e + 4;
                size_t used = 0;
                for (uint64_t* value :
                     {&entry.uncompressedSize, &entry.compressedSize, &entry.localHeaderOffset}) {
                    if (*value == 0xFFFFFFFF && used + 8 <= length) {
                        *value = Read64(field + used);
                        used += 8;
                    }
                }
            }
            e += 4 + length;
        }
        index_.insert(FoldName(entry.name), entries_.size());
        entries_.push_back(std::move(entry));
        at += total;
    }
}

const ZipArchive::Entry* ZipArchive::Find(QStringView name) const {
    const auto it = index_.constFind(FoldName(name));
    return it == index_.constEnd() ? nullptr : &entries_[it.value()];
}

std::string_view ZipArchive::MemberData(const Entry& entry) const {
    if (entry.flags & EncryptedFlag) {
        throw ReadError(ReadErrorCode::ZipMemberEncrypted, {.part = entry.name});
    }
    const std::string_view local = Bytes(entry.localHeaderOffset, LocalHeaderSize, "local header");
    if (Read32(local.data()) != LocalSignature) {
        throw ReadError(ReadErrorCode::ZipNoLocalHeader,
                        {.part = entry.name, .offset = int64_t(entry.localHeaderOffset)});
    }
    const uint64_t start = entry.localHeaderOffset + LocalHeaderSize + Read16(local.data() + 26) +
                           Read16(local.data() + 28);
    return Bytes(start, entry.compressedSize, "member data");
}

void ZipArchive::Read(const Entry& entry, const Sink& sink) {
    const std::string_view input = MemberData(entry);
    if (entry.method == Stored) {
        uint32_t crc = 0;
        for (size_t at = 0; at < input.size(); at += ChunkSize) {
            const std::string_view chunk = input.substr(at, ChunkSize);
            crc = libdeflate_crc32(crc, chunk.data(), chunk.size());
            sink(chunk);
        }
        CheckCrc(entry, crc);
        return;
    }
    if (entry.method != Deflated) {
        throw ReadError(ReadErrorCode::ZipMethodUnsupported,
                        {.part = entry.name, .found = entry.method});
    }
    if (Inflated whole;
        entry.uncompressedSize <= WholeMaximum && InflateWhole(entry, whole) == Whole::Read) {
        for (size_t at = 0; at < whole.size; at += ChunkSize) {
            sink(whole.View().substr(at, ChunkSize));
        }
        return;
    }
    // Bad data is left to streaming, which tells where it goes wrong.
    if (entry.uncompressedSize < PipelineMinimum || !policy_.MayUseSecondThread()) {
        std::vector<char> buffer(ChunkSize);
        Inflate(
            entry, input, [&buffer] { return buffer.data(); },
            [&buffer, &sink](size_t size) { sink(std::string_view(buffer.data(), size)); });
        return;
    }
    pipeline_.Run(
        [&](ChunkPipeline::Output& output) {
            Inflate(
                entry, input, [&output] { return output.Data(); },
                [&output](size_t size) { output.Publish(size); });
        },
        sink);
}

bool ZipArchive::ReadWhole(const Entry& entry, Inflated& out) {
    switch (InflateWhole(entry, out)) {
        case Whole::Read:
            return true;
        case Whole::Unfit:
            return false;
        case Whole::BadData:
            break;
    }
    throw ReadError(ReadErrorCode::ZipInvalidDeflate, {.part = entry.name});
}

ZipArchive::Whole ZipArchive::InflateWhole(const Entry& entry, Inflated& out) {
    const std::string_view input = MemberData(entry);
    const uint64_t entryLimit = InflateLimit(input);
    if (entry.method != Deflated || entry.uncompressedSize > entryLimit ||
        entry.uncompressedSize > MaxTotalInflated - inflatedTotal_) {
        return Whole::Unfit;
    }
    struct Decompressor {
        libdeflate_decompressor* d = libdeflate_alloc_decompressor();
        ~Decompressor() { libdeflate_free_decompressor(d); }
    } decompressor;
    if (!decompressor.d) {
        throw std::bad_alloc();
    }
    const auto size = static_cast<size_t>(entry.uncompressedSize);
    auto bytes = std::make_unique_for_overwrite<char[]>(size);
    const libdeflate_result result = libdeflate_deflate_decompress(
        decompressor.d, input.data(), input.size(), bytes.get(), size, nullptr);
    if (result == LIBDEFLATE_SHORT_OUTPUT || result == LIBDEFLATE_INSUFFICIENT_SPACE) {
        return Whole::Unfit;  // the directory's size is wrong; streaming finds the real one
    }
    if (result != LIBDEFLATE_SUCCESS) {
        return Whole::BadData;
    }
    inflatedTotal_ += size;
    CheckCrc(entry, libdeflate_crc32(0, bytes.get(), size));
    out = {std::move(bytes), size};
    return Whole::Read;
}

template <typename Acquire, typename Publish>
void ZipArchive::Inflate(const Entry& entry, std::string_view input, Acquire acquire,
                         Publish publish) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        throw ReadError(ReadErrorCode::ZipInflateUnavailable);
    }
    struct Ender {
        z_stream* stream;
        ~Ender() { inflateEnd(stream); }
    } ender{&stream};
    const uint64_t entryLimit = InflateLimit(input);
    uint64_t produced = 0;
    uint32_t crc = 0;
    size_t consumed = 0;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        // zlib counts input in 32 bits; feed a huge member in slices.
        if (stream.avail_in == 0 && consumed < input.size()) {
            const size_t slice = std::min<size_t>(input.size() - consumed, 1u << 30);
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data() + consumed));
            stream.avail_in = static_cast<uInt>(slice);
            consumed += slice;
        }
        char* buffer = acquire();
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = static_cast<uInt>(ChunkSize);
        status = inflate(&stream, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END) {
            if (status == Z_BUF_ERROR && stream.avail_in == 0 && consumed == input.size()) {
                throw ReadError(ReadErrorCode::ZipMemberTruncated, {.part = entry.name});
            }
            throw ReadError(ReadErrorCode::ZipInflateFailed, {.part = entry.name, .found = status});
        }
        const size_t size = ChunkSize - stream.avail_out;
        produced += size;
        inflatedTotal_ += size;
        if (produced > entryLimit || inflatedTotal_ > MaxTotalInflated) {
            throw ReadError(ReadErrorCode::ZipInflatesTooLarge,
                            {.part = entry.name, .found = int64_t(produced)});
        }
        if (size > 0) {
            crc = libdeflate_crc32(crc, buffer, size);
            publish(size);
        }
    }
    CheckCrc(entry, crc);
}

}  // namespace engine
