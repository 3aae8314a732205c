#include "dialogs/ElfFile.h"

#include <QFile>
#include <cstdint>

namespace {

constexpr qsizetype kIdentSize = 16;
constexpr uint32_t kSectionNoBits = 8;  // SHT_NOBITS: occupies no file space
constexpr uint16_t kExtendedIndex = 0xFFFF;
// The section-name table of a real executable is a few hundred bytes.
constexpr uint64_t kMaxNameTableSize = 1 << 20;

// Field offsets of the two ELF classes.
struct Layout {
    qsizetype sectionTableOffset, sectionTableOffsetSize;
    qsizetype entrySizeAt, countAt, nameIndexAt;
    qsizetype headerSize;  // of the file header
    qsizetype entrySize;   // of one section header
    qsizetype nameAt, typeAt, offsetAt, sizeAt, wordSize;
};
constexpr Layout kElf32 = {0x20, 4, 0x2E, 0x30, 0x32, 0x34, 40, 0, 4, 16, 20, 4};
constexpr Layout kElf64 = {0x28, 8, 0x3A, 0x3C, 0x3E, 0x40, 64, 0, 4, 24, 32, 8};

struct Section {
    uint32_t name;
    uint32_t type;
    uint64_t offset;
    uint64_t size;
};

class Reader {
public:
    Reader(QFile& file, bool bigEndian) : file_(file), bigEndian_(bigEndian) {}

    uint64_t Number(const QByteArray& bytes, qsizetype at, qsizetype size) const {
        uint64_t value = 0;
        for (qsizetype i = 0; i < size; ++i) {
            const qsizetype index = bigEndian_ ? at + i : at + size - 1 - i;
            value = (value << 8) | static_cast<uint8_t>(bytes[index]);
        }
        return value;
    }

    std::optional<QByteArray> Bytes(uint64_t offset, uint64_t size) const {
        const auto fileSize = static_cast<uint64_t>(file_.size());
        if (offset > fileSize || size > fileSize - offset ||
            !file_.seek(static_cast<qint64>(offset))) {
            return std::nullopt;
        }
        QByteArray bytes = file_.read(static_cast<qint64>(size));
        if (static_cast<uint64_t>(bytes.size()) != size) {
            return std::nullopt;
        }
        return bytes;
    }

private:
    QFile& file_;
    bool bigEndian_;
};

Section SectionAt(const Reader& reader, const Layout& layout, const QByteArray& table,
                  qsizetype index) {
    const qsizetype at = index * layout.entrySize;
    return {static_cast<uint32_t>(reader.Number(table, at + layout.nameAt, 4)),
            static_cast<uint32_t>(reader.Number(table, at + layout.typeAt, 4)),
            reader.Number(table, at + layout.offsetAt, layout.wordSize),
            reader.Number(table, at + layout.sizeAt, layout.wordSize)};
}

bool NameIs(const QByteArray& names, uint32_t at, std::string_view name) {
    const auto length = static_cast<qsizetype>(name.size());
    return at < static_cast<uint64_t>(names.size()) && names.size() - at > length &&
           names.mid(at, length) == QByteArrayView(name.data(), length) &&
           names[at + length] == '\0';
}

}  // namespace

std::optional<QByteArray> ElfFile::ReadSection(const QString& path, std::string_view name,
                                               qsizetype maxSize) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray ident = file.read(kIdentSize);
    if (ident.size() != kIdentSize || !ident.startsWith("\x7F"
                                                        "ELF")) {
        return std::nullopt;
    }
    const char elfClass = ident[4];
    const char byteOrder = ident[5];
    if ((elfClass != 1 && elfClass != 2) || (byteOrder != 1 && byteOrder != 2)) {
        return std::nullopt;
    }
    const Layout& layout = elfClass == 1 ? kElf32 : kElf64;
    const Reader reader(file, byteOrder == 2);
    const auto header = reader.Bytes(0, layout.headerSize);
    if (!header) {
        return std::nullopt;
    }
    const uint64_t tableOffset =
        reader.Number(*header, layout.sectionTableOffset, layout.sectionTableOffsetSize);
    const uint64_t entrySize = reader.Number(*header, layout.entrySizeAt, 2);
    const uint64_t count = reader.Number(*header, layout.countAt, 2);
    const uint64_t nameIndex = reader.Number(*header, layout.nameIndexAt, 2);
    // Files with more sections than the header can count keep the real numbers elsewhere; an
    // executable of ours never needs that, so such a file is simply not read.
    if (entrySize != static_cast<uint64_t>(layout.entrySize) || count == 0 || nameIndex >= count ||
        nameIndex == kExtendedIndex) {
        return std::nullopt;
    }
    const auto table = reader.Bytes(tableOffset, count * entrySize);
    if (!table) {
        return std::nullopt;
    }
    const Section nameTable = SectionAt(reader, layout, *table, static_cast<qsizetype>(nameIndex));
    if (nameTable.type == kSectionNoBits || nameTable.size > kMaxNameTableSize) {
        return std::nullopt;
    }
    const auto names = reader.Bytes(nameTable.offset, nameTable.size);
    if (!names) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < static_cast<qsizetype>(count); ++i) {
        const Section section = SectionAt(reader, layout, *table, i);
        if (!NameIs(*names, section.name, name)) {
            continue;
        }
        if (section.type == kSectionNoBits || section.size > static_cast<uint64_t>(maxSize)) {
            return std::nullopt;
        }
        return reader.Bytes(section.offset, section.size);
    }
    return std::nullopt;
}
