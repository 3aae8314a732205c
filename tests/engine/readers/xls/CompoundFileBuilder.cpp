#include "tests/engine/readers/xls/CompoundFileBuilder.h"

namespace engine::testing {
namespace {

constexpr quint32 EndOfChain = 0xFFFFFFFEu;
constexpr quint32 FatSector = 0xFFFFFFFDu;
constexpr quint32 FreeSector = 0xFFFFFFFFu;
constexpr qsizetype MinimumStream = 4096;

qsizetype SectorsFor(qsizetype size) {
    return (std::max(size, MinimumStream) + CompoundFileBuilder::SectorSize - 1) /
           CompoundFileBuilder::SectorSize;
}

}  // namespace

void PutLittleEndian(QByteArray& bytes, qsizetype offset, quint64 value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
    }
}

void CompoundFileBuilder::AddStream(const QString& name, const QByteArray& data) {
    streams_.push_back(Stream{name, data});
}

int CompoundFileBuilder::FirstSector(int index) const {
    int sector = 2;  // after the FAT and the directory
    for (int i = 0; i < index; ++i) {
        sector += int(SectorsFor(streams_[size_t(i)].data.size()));
    }
    return sector;
}

QByteArray CompoundFileBuilder::Build() const {
    const int sectors = FirstSector(int(streams_.size()));
    QByteArray file((sectors + 1) * SectorSize, '\0');
    file.replace(0, 8, QByteArray::fromHex("D0CF11E0A1B11AE1"));
    PutLittleEndian(file, 0x18, 0x003E, 2);
    PutLittleEndian(file, 0x1A, 3, 2);
    PutLittleEndian(file, 0x1C, 0xFFFE, 2);
    PutLittleEndian(file, 0x1E, 9, 2);
    PutLittleEndian(file, 0x20, 6, 2);
    PutLittleEndian(file, 0x2C, 1, 4);  // one FAT sector
    PutLittleEndian(file, 0x30, 1, 4);  // the directory in sector 1
    PutLittleEndian(file, 0x38, MinimumStream, 4);
    PutLittleEndian(file, 0x3C, EndOfChain, 4);
    PutLittleEndian(file, 0x44, EndOfChain, 4);
    for (int i = 0; i < 109; ++i) {
        PutLittleEndian(file, 0x4C + 4 * i, i == 0 ? 0 : FreeSector, 4);
    }
    for (int i = 0; i < SectorSize / 4; ++i) {
        PutLittleEndian(file, FatEntryOffset(i), FreeSector, 4);
    }
    PutLittleEndian(file, FatEntryOffset(0), FatSector, 4);
    PutLittleEndian(file, FatEntryOffset(1), EndOfChain, 4);

    auto writeEntry = [&](int index, const QString& name, int type, quint32 child, quint32 right,
                          quint32 start, quint64 size) {
        const qsizetype at = DirectoryEntryOffset(index);
        for (int i = 0; i < name.size(); ++i) {
            PutLittleEndian(file, at + 2 * i, name[i].unicode(), 2);
        }
        PutLittleEndian(file, at + 0x40, 2 * (name.size() + 1), 2);
        file[at + 0x42] = char(type);
        PutLittleEndian(file, at + 0x44, FreeSector, 4);
        PutLittleEndian(file, at + 0x48, right, 4);
        PutLittleEndian(file, at + 0x4C, child, 4);
        PutLittleEndian(file, at + 0x74, start, 4);
        PutLittleEndian(file, at + 0x78, size, 8);
    };
    // The root's children hang off each other's right links.
    writeEntry(0, QStringLiteral("Root Entry"), 5, streams_.empty() ? FreeSector : 1, FreeSector,
               EndOfChain, 0);
    for (int i = 0; i < int(streams_.size()); ++i) {
        const Stream& stream = streams_[size_t(i)];
        const int first = FirstSector(i);
        const int count = int(SectorsFor(stream.data.size()));
        const quint32 right = i + 1 < int(streams_.size()) ? quint32(i + 2) : FreeSector;
        writeEntry(i + 1, stream.name, 2, FreeSector, right, quint32(first),
                   quint64(std::max(stream.data.size(), MinimumStream)));
        for (int s = 0; s < count; ++s) {
            PutLittleEndian(file, FatEntryOffset(first + s),
                            s + 1 < count ? quint32(first + s + 1) : EndOfChain, 4);
        }
        file.replace((first + 1) * SectorSize, stream.data.size(), stream.data);
    }
    return file;
}

}  // namespace engine::testing
