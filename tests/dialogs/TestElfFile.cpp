#include <QApplication>
#include <QFile>
#include <QTest>

#include "dialogs/ElfFile.h"
#include "tests/support/TestEnvironment.h"

namespace {

struct FakeSection {
    QByteArray name;
    uint32_t type;  // 1 PROGBITS, 3 STRTAB, 8 NOBITS
    QByteArray data;
};

// A minimal ELF file: header, section contents, section header table (entry 0 empty, the
// name table last).
class FakeElf {
public:
    FakeElf(bool is64, bool bigEndian, QList<FakeSection> sections)
        : is64_(is64), bigEndian_(bigEndian) {
        const qsizetype entrySize = is64_ ? 64 : 40;
        const int word = is64_ ? 8 : 4;
        sections.append({".shstrtab", 3, {}});
        QByteArray names(1, '\0');
        for (FakeSection& section : sections) {
            nameOffsets_.append(names.size());
            names += section.name + '\0';
        }
        sections.back().data = names;
        bytes = QByteArray(is64_ ? 64 : 52, '\0');
        bytes.replace(0, 6,
                      QByteArray("\x7F"
                                 "ELF") +
                          char(is64_ ? 2 : 1) + char(bigEndian_ ? 2 : 1));
        QList<qsizetype> offsets;
        for (const FakeSection& section : sections) {
            offsets.append(bytes.size());
            bytes += section.data;
        }
        table_ = bytes.size();
        bytes += QByteArray(entrySize * (sections.size() + 1), '\0');
        Put(is64_ ? 0x28 : 0x20, table_, word);
        Put(is64_ ? 0x3A : 0x2E, entrySize, 2);
        Put(is64_ ? 0x3C : 0x30, sections.size() + 1, 2);
        Put(is64_ ? 0x3E : 0x32, sections.size(), 2);
        for (qsizetype i = 0; i < sections.size(); ++i) {
            const qsizetype at = Entry(i + 1);
            Put(at, nameOffsets_[i], 4);
            Put(at + 4, sections[i].type, 4);
            Put(at + (is64_ ? 24 : 16), offsets[i], word);
            Put(at + (is64_ ? 32 : 20), sections[i].data.size(), word);
        }
    }

    qsizetype Entry(qsizetype index) const { return table_ + index * (is64_ ? 64 : 40); }

    void Put(qsizetype at, uint64_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes[at + i] = char((value >> (8 * (bigEndian_ ? size - 1 - i : i))) & 0xFF);
        }
    }

    QByteArray bytes;

private:
    bool is64_;
    bool bigEndian_;
    qsizetype table_ = 0;
    QList<qsizetype> nameOffsets_;
};

// Entry 3 is the section looked for, entry 5 the name table.
const QList<FakeSection> kSections = {{".text", 1, "code"},
                                      {".sorvane_version_old", 1, "wrong"},
                                      {".sorvane_version", 1, "block"},
                                      {".bss", 8, {}}};

std::optional<QByteArray> Read(const QByteArray& bytes, std::string_view name = ".sorvane_version",
                               qsizetype maxSize = 1024) {
    QFile file(testsupport::ScratchDir() + "/fake.elf");
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write the fake ELF file");
    }
    file.close();
    return ElfFile::ReadSection(file.fileName(), name, maxSize);
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
        const QByteArray bytes = FakeElf(is64, bigEndian, kSections).bytes;
        QCOMPARE(Read(bytes), std::optional<QByteArray>("block"));
        QCOMPARE(Read(bytes, ".sorvane"), std::nullopt);
        QCOMPARE(Read(bytes, ".bss"), std::nullopt);
        QCOMPARE(Read(bytes.left(bytes.size() - 1)), std::nullopt);
    }

    void refusesHostileFiles_data() {
        QTest::addColumn<int>("entry");  // 0: the file header
        QTest::addColumn<int>("offset");
        QTest::addColumn<qulonglong>("value");
        QTest::addColumn<int>("size");
        QTest::newRow("section table past the end") << 0 << 0x28 << 0xFFFFFFFFFFull << 8;
        QTest::newRow("entry size wrong") << 0 << 0x3A << 32ull << 2;
        QTest::newRow("too many sections") << 0 << 0x3C << 0xFFFEull << 2;
        QTest::newRow("no sections") << 0 << 0x3C << 0ull << 2;
        QTest::newRow("name table index too big") << 0 << 0x3E << 40ull << 2;
        QTest::newRow("name table index extended") << 0 << 0x3E << 0xFFFFull << 2;
        QTest::newRow("class unknown") << 0 << 4 << 3ull << 1;
        QTest::newRow("not ELF") << 0 << 1 << qulonglong('e') << 1;
        QTest::newRow("section data past the end") << 3 << 24 << 0x7FFFFFFFull << 8;
        QTest::newRow("section larger than allowed") << 3 << 32 << 4096ull << 8;
        QTest::newRow("section size overflowing") << 3 << 32 << ~0ull << 8;
        QTest::newRow("section without file data") << 3 << 4 << 8ull << 4;
        QTest::newRow("name past the name table") << 3 << 0 << 0xFFFFFFF0ull << 4;
        QTest::newRow("name table huge") << 5 << 32 << 0xFFFFFFFFFFull << 8;
    }
    void refusesHostileFiles() {
        QFETCH(int, entry);
        QFETCH(int, offset);
        QFETCH(qulonglong, value);
        QFETCH(int, size);
        FakeElf elf(true, false, kSections);
        elf.Put((entry == 0 ? 0 : elf.Entry(entry)) + offset, value, size);
        QCOMPARE(Read(elf.bytes), std::nullopt);
    }

    // Whatever header byte is damaged, the reader stays within the file and its limit.
    void anyDamagedHeaderByteStaysBounded() {
        const FakeElf elf(true, false, kSections);
        for (qsizetype at = 0; at < elf.bytes.size(); ++at) {
            if (at >= 64 && at < elf.Entry(0)) {
                continue;  // section contents
            }
            for (const char damage : {'\xFF', '\x01'}) {
                QByteArray damaged = elf.bytes;
                damaged[at] = damage;
                const auto result = Read(damaged, ".sorvane_version", 16);
                QVERIFY(!result || result->size() <= 16);
            }
        }
    }
};

SORVANE_QTEST_MAIN(TestElfFile)
#include "TestElfFile.moc"
