#include "dialogs/VersionBlock.h"

#include <cstdint>

namespace {

uint32_t ReadLittleEndian(const QByteArray& bytes, qsizetype at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    }
    return value;
}

}  // namespace

std::optional<VersionBlock> VersionBlock::Parse(const QByteArray& bytes) {
    using namespace versionblock;
    const auto headerSize = static_cast<qsizetype>(kHeaderSize);
    if (bytes.size() < headerSize ||
        !bytes.startsWith(QByteArray::fromRawData(kMagic.data(), kMagic.size())) ||
        ReadLittleEndian(bytes, 4, 2) != kLayoutVersion) {
        return std::nullopt;
    }
    const uint32_t count = ReadLittleEndian(bytes, 6, 2);
    const uint32_t size = ReadLittleEndian(bytes, 8, 4);
    if (size < kHeaderSize || size > kMaxBlockSize || size > static_cast<uint64_t>(bytes.size())) {
        return std::nullopt;
    }
    VersionBlock block;
    qsizetype at = headerSize;
    const auto end = static_cast<qsizetype>(size);
    for (uint32_t i = 0; i < count; ++i) {
        if (end - at < static_cast<qsizetype>(kRecordHeaderSize)) {
            return std::nullopt;
        }
        const qsizetype pathLength = ReadLittleEndian(bytes, at, 2);
        const qsizetype valueLength = ReadLittleEndian(bytes, at + 2, 2);
        at += kRecordHeaderSize;
        if (end - at < pathLength + valueLength) {
            return std::nullopt;
        }
        block.records_.emplace_back(QString::fromUtf8(bytes.mid(at, pathLength)),
                                    bytes.mid(at + pathLength, valueLength));
        at += pathLength + valueLength;
    }
    if (at != end) {
        return std::nullopt;
    }
    return block;
}

std::optional<QByteArray> VersionBlock::Query(QStringView path) const {
    for (const auto& [recordPath, value] : records_) {
        if (path.compare(recordPath, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return std::nullopt;
}
