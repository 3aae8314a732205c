#include "engine/readers/xls/CompoundFile.h"

#include "engine/model/ReadError.h"

#include <QtEndian>
#include <algorithm>

namespace engine {
namespace {

constexpr uint32_t EndOfChain = 0xFFFFFFFEu;
constexpr uint32_t FreeSector = 0xFFFFFFFFu;
constexpr uint32_t NoEntry = 0xFFFFFFFFu;
constexpr qsizetype HeaderSize = 512;
constexpr qsizetype EntrySize = 128;
constexpr int HeaderDifatCount = 109;
constexpr uint8_t StreamEntry = 2;
constexpr uint8_t RootEntry = 5;
const char Signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

}  // namespace

bool CompoundFile::HasSignature(QByteArrayView head) {
    return head.size() >= 8 && std::equal(head.begin(), head.begin() + 8, Signature);
}

CompoundFile::CompoundFile(QByteArray data) : data_(std::move(data)) {
    if (data_.size() < HeaderSize || !HasSignature(data_)) {
        throw ReadError(ReadErrorCode::CfbNoHeader, {.found = data_.size()});
    }
    const auto header = reinterpret_cast<const uchar*>(data_.constData());
    const uint16_t sectorShift = qFromLittleEndian<uint16_t>(header + 0x1E);
    const uint16_t miniShift = qFromLittleEndian<uint16_t>(header + 0x20);
    if ((sectorShift != 9 && sectorShift != 12) || miniShift == 0 || miniShift >= sectorShift) {
        throw ReadError(ReadErrorCode::CfbSectorSize,
                        {.expected = sectorShift, .found = miniShift});
    }
    sectorSize_ = 1u << sectorShift;
    miniSectorSize_ = 1u << miniShift;
    miniCutoff_ = ReadU32(0x38);
    // A short last sector still counts: some writers do not pad the end of the file.
    const qsizetype body = std::max<qsizetype>(0, data_.size() - qsizetype(sectorSize_));
    sectorCount_ = static_cast<uint32_t>((body + sectorSize_ - 1) / sectorSize_);

    ReadFat();
    ReadDirectory();
    CollectRootChildren();
}

uint32_t CompoundFile::ReadU32(qsizetype offset) const {
    if (offset < 0 || offset + 4 > data_.size()) {
        throw ReadError(ReadErrorCode::CfbReadPastEnd, {.offset = offset});
    }
    return qFromLittleEndian<uint32_t>(data_.constData() + offset);
}

void CompoundFile::ReadFat() {
    const uint32_t fatSectors = ReadU32(0x2C);
    if (fatSectors > sectorCount_) {
        throw ReadError(ReadErrorCode::CfbFatCount,
                        {.expected = sectorCount_, .found = fatSectors});
    }
    std::vector<uint32_t> fatSectorList;
    fatSectorList.reserve(fatSectors);
    for (int i = 0; i < HeaderDifatCount && fatSectorList.size() < fatSectors; ++i) {
        fatSectorList.push_back(ReadU32(0x4C + 4 * i));
    }
    // The DIFAT chain holds the FAT sector numbers that do not fit into the header.
    uint32_t difat = ReadU32(0x44);
    std::vector<bool> seen(sectorCount_, false);
    const uint32_t perSector = sectorSize_ / 4 - 1;
    while (fatSectorList.size() < fatSectors) {
        if (difat >= sectorCount_ || seen[difat]) {
            throw ReadError(ReadErrorCode::CfbDifatBroken, {.found = difat});
        }
        seen[difat] = true;
        const qsizetype base = qsizetype(difat + 1) * sectorSize_;
        for (uint32_t i = 0; i < perSector && fatSectorList.size() < fatSectors; ++i) {
            fatSectorList.push_back(ReadU32(base + 4 * i));
        }
        difat = ReadU32(base + 4 * perSector);
    }
    fat_.reserve(size_t(fatSectors) * (sectorSize_ / 4));
    for (uint32_t sector : fatSectorList) {
        if (sector >= sectorCount_) {
            throw ReadError(ReadErrorCode::CfbFatBeyondFile, {.found = sector});
        }
        const qsizetype base = qsizetype(sector + 1) * sectorSize_;
        for (uint32_t i = 0; i < sectorSize_ / 4; ++i) {
            // A truncated final FAT sector reads as free sectors.
            fat_.push_back(base + 4 * (i + 1) <= data_.size() ? ReadU32(base + 4 * i) : FreeSector);
        }
    }
}

void CompoundFile::ReadDirectory() {
    const auto chain = Chain(fat_, ReadU32(0x30), "directory");
    const QByteArray directory = ReadSectors(chain, uint64_t(chain.size()) * sectorSize_);
    const auto bytes = reinterpret_cast<const uchar*>(directory.constData());
    for (qsizetype offset = 0; offset + EntrySize <= directory.size(); offset += EntrySize) {
        const uchar* raw = bytes + offset;
        Entry entry;
        const uint16_t nameBytes = std::min<uint16_t>(qFromLittleEndian<uint16_t>(raw + 0x40), 64);
        const int nameChars = nameBytes >= 2 ? nameBytes / 2 - 1 : 0;
        for (int i = 0; i < nameChars; ++i) {
            entry.name.append(QChar(qFromLittleEndian<uint16_t>(raw + 2 * i)));
        }
        entry.type = raw[0x42];
        entry.left = qFromLittleEndian<uint32_t>(raw + 0x44);
        entry.right = qFromLittleEndian<uint32_t>(raw + 0x48);
        entry.child = qFromLittleEndian<uint32_t>(raw + 0x4C);
        entry.start = qFromLittleEndian<uint32_t>(raw + 0x74);
        entry.size = qFromLittleEndian<uint64_t>(raw + 0x78);
        if (sectorSize_ == 512) {
            entry.size &= 0xFFFFFFFFu;  // version 3 files may leave junk in the high half
        }
        entries_.push_back(std::move(entry));
    }
    if (entries_.empty() || entries_[0].type != RootEntry) {
        throw ReadError(ReadErrorCode::CfbNoRoot);
    }
    const Entry& root = entries_[0];
    if (root.size > 0) {
        miniStream_ = ReadSectors(Chain(fat_, root.start, "mini stream"), root.size);
    }
    const uint32_t miniFatStart = ReadU32(0x3C);
    if (miniFatStart != EndOfChain && miniFatStart != FreeSector) {
        const auto miniChain = Chain(fat_, miniFatStart, "mini FAT");
        const QByteArray table = ReadSectors(miniChain, uint64_t(miniChain.size()) * sectorSize_);
        miniFat_.reserve(size_t(table.size() / 4));
        for (qsizetype i = 0; i + 4 <= table.size(); i += 4) {
            miniFat_.push_back(qFromLittleEndian<uint32_t>(table.constData() + i));
        }
    }
}

void CompoundFile::CollectRootChildren() {
    // The children of a storage form a tree through the sibling links; walk it with a guard
    // against links that point back up.
    std::vector<bool> seen(entries_.size(), false);
    std::vector<uint32_t> pending{entries_[0].child};
    while (!pending.empty()) {
        const uint32_t index = pending.back();
        pending.pop_back();
        if (index == NoEntry || index >= entries_.size() || seen[index]) {
            continue;
        }
        seen[index] = true;
        rootChildren_.push_back(index);
        pending.push_back(entries_[index].left);
        pending.push_back(entries_[index].right);
    }
}

std::vector<uint32_t> CompoundFile::Chain(const std::vector<uint32_t>& table, uint32_t start,
                                          const char* what) const {
    std::vector<uint32_t> chain;
    std::vector<bool> seen(table.size(), false);
    for (uint32_t sector = start; sector != EndOfChain && sector != FreeSector;
         sector = table[sector]) {
        if (sector >= table.size()) {
            throw ReadError(ReadErrorCode::CfbChainBeyondTable,
                            {.part = QLatin1String(what), .found = sector});
        }
        if (seen[sector]) {
            throw ReadError(ReadErrorCode::CfbChainLoops,
                            {.part = QLatin1String(what), .found = sector});
        }
        seen[sector] = true;
        chain.push_back(sector);
    }
    return chain;
}

QByteArray CompoundFile::ReadSectors(const std::vector<uint32_t>& chain, uint64_t size) const {
    if (size > uint64_t(chain.size()) * sectorSize_) {
        throw ReadError(ReadErrorCode::CfbStreamLongerThanChain,
                        {.expected = int64_t(size), .found = int64_t(chain.size()) * sectorSize_});
    }
    QByteArray result;
    result.reserve(qsizetype(size));
    for (uint32_t sector : chain) {
        const qsizetype offset = qsizetype(sector + 1) * sectorSize_;
        const qsizetype wanted = std::min<qsizetype>(sectorSize_, qsizetype(size) - result.size());
        if (wanted <= 0) {
            break;
        }
        if (offset + wanted > data_.size()) {
            throw ReadError(ReadErrorCode::CfbSectorBeyondFile, {.found = sector});
        }
        result.append(data_.constData() + offset, wanted);
    }
    return result;
}

QByteArray CompoundFile::ReadMiniSectors(const std::vector<uint32_t>& chain, uint64_t size) const {
    if (size > uint64_t(chain.size()) * miniSectorSize_) {
        throw ReadError(ReadErrorCode::CfbStreamLongerThanChain,
                        {.part = QStringLiteral("mini stream"),
                         .expected = int64_t(size),
                         .found = int64_t(chain.size()) * miniSectorSize_});
    }
    QByteArray result;
    result.reserve(qsizetype(size));
    for (uint32_t sector : chain) {
        const qsizetype offset = qsizetype(sector) * miniSectorSize_;
        const qsizetype wanted =
            std::min<qsizetype>(miniSectorSize_, qsizetype(size) - result.size());
        if (wanted <= 0) {
            break;
        }
        if (offset + wanted > miniStream_.size()) {
            throw ReadError(ReadErrorCode::CfbMiniSectorBeyondStream, {.found = sector});
        }
        result.append(miniStream_.constData() + offset, wanted);
    }
    return result;
}

const CompoundFile::Entry* CompoundFile::FindStream(QStringView name) const {
    for (uint32_t index : rootChildren_) {
        const Entry& entry = entries_[index];
        if (entry.type == StreamEntry && entry.name.compare(name, Qt::CaseInsensitive) == 0) {
            return &entry;
        }
    }
    return nullptr;
}

bool CompoundFile::HasStream(QStringView name) const {
    return FindStream(name) != nullptr;
}

QByteArray CompoundFile::ReadStream(QStringView name) const {
    const Entry* entry = FindStream(name);
    if (!entry) {
        throw ReadError(ReadErrorCode::CfbNoStream, {.part = name.toString()});
    }
    if (entry->size < miniCutoff_) {
        return ReadMiniSectors(Chain(miniFat_, entry->start, "mini"), entry->size);
    }
    return ReadSectors(Chain(fat_, entry->start, "stream"), entry->size);
}

}  // namespace engine
