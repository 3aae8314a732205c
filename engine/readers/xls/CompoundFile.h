// Reads the streams of a Compound File Binary container (the "structured storage" that .xls
// files and encrypted .xlsx packages live in). Only the streams directly under the root are
// offered, so a workbook embedded in a sub-storage is never mistaken for the file's own.
// Every sector chain is bounded by the file size and checked for cycles; a stream is only
// allocated once its chain has been proven to hold it.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <vector>

namespace engine {

class CompoundFile {
public:
    // Parses the header, the FAT (with its DIFAT extension), the directory and the mini FAT.
    // Raises ReadError when the container is damaged.
    explicit CompoundFile(QByteArray data);

    // True when the bytes start with the compound-file signature.
    static bool HasSignature(QByteArrayView head);

    // Whether a stream of this name (compared without regard to case) sits under the root.
    bool HasStream(QStringView name) const;
    // The stream's bytes. Raises ReadError when it is absent or its chain is damaged.
    QByteArray ReadStream(QStringView name) const;

private:
    struct Entry {
        QString name;
        uint8_t type = 0;
        uint32_t left = 0, right = 0, child = 0;
        uint32_t start = 0;
        uint64_t size = 0;
    };

    uint32_t ReadU32(qsizetype offset) const;
    void ReadFat();
    void ReadDirectory();
    void CollectRootChildren();
    std::vector<uint32_t> Chain(const std::vector<uint32_t>& table, uint32_t start,
                                const char* what) const;
    QByteArray ReadSectors(const std::vector<uint32_t>& chain, uint64_t size) const;
    QByteArray ReadMiniSectors(const std::vector<uint32_t>& chain, uint64_t size) const;
    const Entry* FindStream(QStringView name) const;

    QByteArray data_;
    uint32_t sectorSize_ = 512;
    uint32_t miniSectorSize_ = 64;
    uint32_t miniCutoff_ = 4096;
    uint32_t sectorCount_ = 0;  // sectors actually present in the file
    std::vector<uint32_t> fat_;
    std::vector<uint32_t> miniFat_;
    std::vector<Entry> entries_;
    std::vector<uint32_t> rootChildren_;
    QByteArray miniStream_;
};

}  // namespace engine
