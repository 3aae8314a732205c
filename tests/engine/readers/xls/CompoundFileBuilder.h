// Writes small compound files for tests: one FAT sector, one directory sector, and the
// streams (each padded to the 4096-byte mini-stream cutoff, so all use the FAT) in
// consecutive sectors. The offsets let a test damage a precise field.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace engine::testing {

class CompoundFileBuilder {
public:
    static constexpr int SectorSize = 512;

    void AddStream(const QString& name, const QByteArray& data);
    QByteArray Build() const;

    // Byte offsets in the built file.
    static qsizetype FatEntryOffset(int sector) { return SectorSize + 4 * sector; }
    static qsizetype DirectoryEntryOffset(int entry) { return 2 * SectorSize + 128 * entry; }
    // The first sector of stream `index` (in the order added).
    int FirstSector(int index) const;

private:
    struct Stream {
        QString name;
        QByteArray data;
    };
    std::vector<Stream> streams_;
};

// Writes a little-endian integer of `size` bytes at `offset`.
void PutLittleEndian(QByteArray& bytes, qsizetype offset, quint64 value, int size);

}  // namespace engine::testing
