#include <QApplication>
#include <QFile>
#include <QTest>

#include "dialogs/ElfFile.h"
#include "tests/support/TestEnvironment.h"

namespace {

struct FakeSection {
    QByteArray name;
    uint32_t type;  // 1 = PROGBITS, 3 = STRTAB, 8 = NOBITS
    QByteArray data;
};

// A minimal ELF file: header, section data, names, section header table (entry 0 empty).
class FakeElf {
public:
    FakeElf(bool is64, bool bigEndian) : is64_(is64), bigEndian_(bigEndian) {}

    QByteArray Build(const QList<FakeSection>& sections) {
        const qsizetype headerSize = is64_ ? 64 : 52;
        const qsizetype entrySize = is64_ ? 64 : 40;
        QList<FakeSection> all = sections;
        QByteArray names("\0", 1);
        QList<uint32_t> nameOffsets;
        all.append({".shstrtab", 3, {}});
        for (const FakeSection& section : all) {
            nameOffsets.append(static_cast<uint32_t>(names.size()));
            names += section.name + '\0';
        }
        all.back().data = names;

        bytes_ = QByteArray(headerSize, '\0');
        bytes_.replace(0, 4,
                       "\x7F"
                       "ELF");
        bytes_[4] = is64_ ? 2 : 1;
        bytes_[5] = bigEndian_ ? 2 : 1;
        QList<uint64_t> offsets;
        for (const FakeSection& section : all) {
            offsets.append(static_cast<uint64_t>(bytes_.size()));
            bytes_ += section.data;
        }
        const auto tableOffset = static_cast<uint64_t>(bytes_.size());
        bytes_ += QByteArray(entrySize * (all.size() + 1), '\0');
        Put(is64_ ? 0x28 : 0x20, tableOffset, is64_ ? 8 : 4);
        Put(is64_ ? 0x3A : 0x2E, static_cast<uint64_t>(entrySize), 2);
        Put(is64_ ? 0x3C : 0x30, static_cast<uint64_t>(all.size() + 1), 2);
        Put(is64_ ? 0x3E : 0x32, static_cast<uint64_t>(all.size()), 2);
        for (qsizetype i = 0; i < all.size(); ++i) {
            const qsizetype at = static_cast<qsizetype>(tableOffset) + (i + 1) * entrySize;
            Put(at, nameOffsets[i], 4);
            Put(at + 4, all[i].type, 4);
            Put(at + (is64_ ? 24 : 16), offsets[i], is64_ ? 8 : 4);
            Put(at + (is64_ ? 32 : 20), static_cast<uint64_t>(all[i].data.size()), is64_ ? 8 : 4);
        }
        return bytes_;
    }

    // The section header of entry `index` (1 = first given section), for patching.
    qsizetype EntryAt(qsizetype index) const {
        const qsizetype tableAt = is64_ ? 0x28 : 0x20;
        uint64_t table = 0;
        for (int i = 0; i < (is64_ ? 8 : 4); ++i) {
            const int shift = bigEndian_ ? (is64_ ? 7 : 3) - i : i;
            table |= uint64_t(uint8_t(bytes_[tableAt + i])) << (8 * shift);
        }
        return static_cast<qsizetype>(table) + index * (is64_ ? 64 : 40);
    }

    void Put(qsizetype at, uint64_t value, int size) {
        for (int i = 0; i < size; ++i) {
            const int shift = bigEndian_ ? size - 1 - i : i;
            bytes_[at + i] = static_cast<char>((value >> (8 * shift)) & 0xFF);
        }
    }

    QByteArray bytes_;

private:
    bool is64_;
    bool bigEndian_;
};

const QList<FakeSection> kSections = {{".text", 1, "code"},
                                      {".sorvane_version_old", 1, "wrong"},
                                      {".sorvane_version", 1, "block"},
                                      {".bss", 8, {}}};

QString WriteFile(const QString& name, const QByteArray& bytes) {
    const QString path = testsupport::ScratchDir() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

std::optional<QByteArray> Read(const QByteArray& bytes, std::string_view name = ".sorvane_version",
                               qsizetype maxSize = 1024) {
    return ElfFile::ReadSection(WriteFile(QStringLiteral("fake.elf"), bytes), name, maxSize);
}

}  // namespace

class TestElfFile : public QObject {
    Q_OBJECT

private slots:
    void findsTheSectionInEveryClassAndByteOrder_data() {
        QTest::addColumn<bool>("is64");
        QTest::addColumn<bool>("bigEndian");
        QTest::newRow("64-bit little-endian") << true << false;
        QTest::newRow("64-bit big-endian") << true << true;
        QTest::newRow("32-bit little-endian") << false << false;
        QTest::newRow("32-bit big-endian") << false << true;
    }
    void findsTheSectionInEveryClassAndByteOrder() {
        QFETCH(bool, is64);
        QFETCH(bool, bigEndian);
        FakeElf elf(is64, bigEndian);
        const QByteArray bytes = elf.Build(kSections);
        QCOMPARE(Read(bytes), std::optional<QByteArray>("block"));
        QCOMPARE(Read(bytes, ".sorvane"), std::nullopt);
        QCOMPARE(Read(bytes, ".bss"), std::nullopt);
    }

    void refusesHostileFiles_data() {
        QTest::addColumn<int>("entry");  // -1: the file header
        QTest::addColumn<int>("offset");
        QTest::addColumn<qulonglong>("value");
        QTest::addColumn<int>("size");
        QTest::newRow("section table past the end") << -1 << 0x28 << 0xFFFFFFFFFFull << 8;
        QTest::newRow("entry size wrong") << -1 << 0x3A << 32ull << 2;
        QTest::newRow("too many sections") << -1 << 0x3C << 0xFFFEull << 2;
        QTest::newRow("no sections") << -1 << 0x3C << 0ull << 2;
        QTest::newRow("name table index too big") << -1 << 0x3E << 40ull << 2;
        QTest::newRow("name table index extended") << -1 << 0x3E << 0xFFFFull << 2;
        QTest::newRow("class unknown") << -1 << 4 << 3ull << 1;
        QTest::newRow("byte order unknown") << -1 << 5 << 0ull << 1;
        QTest::newRow("section data past the end") << 3 << 24 << 0x7FFFFFFFull << 8;
        QTest::newRow("section larger than allowed") << 3 << 32 << 4096ull << 8;
        QTest::newRow("section size overflowing") << 3 << 32 << 0xFFFFFFFFFFFFFFFFull << 8;
        QTest::newRow("section without file data") << 3 << 4 << 8ull << 4;
        QTest::newRow("name past the name table") << 3 << 0 << 0xFFFFFFF0ull << 4;
        QTest::newRow("name table huge") << 5 << 32 << 0xFFFFFFFFFFull << 8;
    }
    void refusesHostileFiles() {
        QFETCH(int, entry);
        QFETCH(int, offset);
        QFETCH(qulonglong, value);
        QFETCH(int, size);
        FakeElf elf(true, false);
        elf.Build(kSections);
        elf.Put((entry < 0 ? 0 : elf.EntryAt(entry)) + offset, value, size);
        QCOMPARE(Read(elf.bytes_, ".sorvane_version", 1024), std::nullopt);
    }

    void notElfOrTruncatedGivesNothing() {
        FakeElf elf(true, false);
        const QByteArray bytes = elf.Build(kSections);
        QCOMPARE(Read(QByteArray("#!/bin/sh\necho hello\n")), std::nullopt);
        QCOMPARE(Read(QByteArray()), std::nullopt);
        QCOMPARE(Read(bytes.left(bytes.size() - 1)), std::nullopt);
        QCOMPARE(ElfFile::ReadSection(testsupport::ScratchDir() + QStringLiteral("/none"),
                                      ".sorvane_version", 1024),
                 std::nullopt);
        QCOMPARE(ElfFile::ReadSection(testsupport::ScratchDir(), ".sorvane_version", 1024),
                 std::nullopt);
    }

    // Whatever single byte of the headers is damaged, the reader stays within the file and
    // never returns more than it was allowed to.
    void anyDamagedHeaderByteStaysBounded() {
        FakeElf elf(true, false);
        const QByteArray bytes = elf.Build(kSections);
        const qsizetype tableStart = elf.EntryAt(0);
        for (qsizetype at = 0; at < bytes.size(); ++at) {
            if (at >= 64 && at < tableStart) {
                continue;  // section contents, not headers
            }
            for (const char damage : {'\xFF', '\x80', '\x00', '\x01'}) {
                QByteArray damaged = bytes;
                damaged[at] = damage;
                const auto result = Read(damaged, ".sorvane_version", 16);
                QVERIFY(!result || result->size() <= 16);
            }
        }
    }
};

SORVANE_QTEST_MAIN(TestElfFile)
#include "TestElfFile.moc"
