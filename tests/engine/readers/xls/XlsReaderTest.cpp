// Workbook streams written record by record: every cell record, formats, shared formulas,
// notes, the sheet list, BIFF5 strings in their code page, and hostile streams that must
// end in the engine's error with the right kind.
#include "engine/find/RangeFinder.h"
#include "engine/model/CellText.h"
#include "engine/model/EngineError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/xls/XlsReader.h"
#include "tests/engine/readers/ReaderBook.h"
#include "tests/engine/readers/xls/CompoundFileBuilder.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <array>
#include <cstring>
#include <functional>
#include <memory>

namespace engine {
namespace {

using testing::CompoundFileBuilder;

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QByteArray U16(uint16_t value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray U32(uint32_t value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray Record(uint16_t id, const QByteArray& body) {
    return U16(id) + U16(uint16_t(body.size())) + body;
}

QByteArray Bof(uint16_t version, uint16_t type) {
    return Record(0x0809, U16(version) + U16(type) + QByteArray(version == 0x0600 ? 12 : 4, '\0'));
}

const QByteArray Eof = Record(0x000A, {});

struct SheetSpec {
    QByteArray name;  // the encoded name with its count and flags, as BOUNDSHEET stores it
    uint8_t type = 0;
    QByteArray records;
};

// Globals (BOF, `globals`, BOUNDSHEETs, EOF) followed by the sheet substreams.
QByteArray Stream(uint16_t version, const QByteArray& globals,
                  const std::vector<SheetSpec>& sheets) {
    qsizetype size = Bof(version, 5).size() + globals.size() + Eof.size();
    for (const SheetSpec& sheet : sheets) {
        size += 4 + 6 + sheet.name.size();
    }
    QByteArray entries, bodies;
    for (const SheetSpec& sheet : sheets) {
        const uint32_t offset = uint32_t(size + bodies.size());
        entries += Record(0x0085, U32(offset) + QByteArray(1, '\0') +
                                      QByteArray(1, char(sheet.type)) + sheet.name);
        bodies += Bof(version, sheet.type == 2 ? 0x20 : 0x10) + sheet.records + Eof;
    }
    return Bof(version, 5) + globals + entries + Eof + bodies;
}

QByteArray Name8(const char* latin1) {
    return QByteArray(1, char(strlen(latin1))) + '\0' + latin1;
}

// A cell record's common part: row, column, XF.
QByteArray At(uint16_t row, uint16_t column, uint16_t xf = 0) {
    return U16(row) + U16(column) + U16(xf);
}

QString WriteFile(const char* name, const std::vector<std::pair<QString, QByteArray>>& streams) {
    CompoundFileBuilder builder;
    for (const auto& [streamName, data] : streams) {
        builder.AddStream(streamName, data);
    }
    const QString path = testsupport::ScratchDir() + u'/' + QLatin1String(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(builder.Build());
    return path;
}

std::unique_ptr<Workbook> OpenStream(const QByteArray& stream, const char* name = "book.xls") {
    return OpenWith<XlsReader>(WriteFile(name, {{QStringLiteral("Workbook"), stream}}));
}

std::string Text(Workbook& book, int row, int column) {
    const Cell* cell = book.Sheet(0).FindCell(row, column);
    return cell ? CellText::Text(book, *cell).toStdString() : "<none>";
}

std::string Formula(Workbook& book, int row, int column) {
    const Cell* cell = book.Sheet(0).FindCell(row, column);
    return cell ? CellText::Formula(book, *cell).toStdString() : "<none>";
}

QByteArray FormulaRecord(uint16_t row, uint16_t column, const char* result, const char* tokens) {
    const QByteArray rgce = Hex(tokens);
    return Record(0x0006, At(row, column) + Hex(result) + Hex("0000 00000000") +
                              U16(uint16_t(rgce.size())) + rgce);
}

TEST(XlsReader, ReadsEveryKindOfCell) {
    const QByteArray globals =
        Record(0x041E, U16(164) + U16(5) + '\0' + "0.000") +  // FORMAT
        Record(0x00E0, U16(0) + U16(0) + QByteArray(16, '\0')) +
        Record(0x00E0, U16(0) + U16(164) + QByteArray(16, '\0')) +
        Record(0x00E0, U16(0) + U16(10) + QByteArray(16, '\0')) +
        Record(0x00FC, Hex("02000000 02000000 0300 00 616263 0200 01 E5652C67"));
    const QByteArray cells =
        Record(0x0200, Hex("00000000 14000000 0000 0800 0000")) +  // DIMENSIONS A1:H20
        Record(0x0203, At(0, 0, 1) + Hex("000000000000F83F")) +    // NUMBER 1.5 "0.000"
        Record(0x027E, At(1, 0) + Hex("93010000")) +               // RK integer 100, divided by 100
        Record(0x027E, At(2, 0, 2) + Hex("0000F03F")) +            // RK float 1.0, "0.00%"
        Record(0x00BD,
               U16(3) + U16(0) + U16(0) + Hex("EB030000") + U16(0) + Hex("FAFFFFFF") + U16(1)) +
        Record(0x00FD, At(4, 0) + Hex("01000000")) +                      // LABELSST 日本
        Record(0x00FD, At(4, 1) + Hex("07000000")) +                      // past the table
        Record(0x0204, At(5, 0) + Hex("0200 00 7879")) +                  // LABEL xy
        Record(0x0205, At(6, 0) + Hex("01 00")) +                         // TRUE
        Record(0x0205, At(6, 1) + Hex("2A 01")) +                         // #N/A
        Record(0x0201, At(9, 5)) +                                        // BLANK F10
        Record(0x00BE, U16(10) + U16(1) + U16(0) + U16(0) + U16(2)) +     // MULBLANK B11:C11
        FormulaRecord(7, 0, "000000000000F03F", "1E0100") +               // =1 → 1
        FormulaRecord(7, 1, "0000 0000 0000 FFFF", "17 01 00 71") +       // string result
        Record(0x0207, Hex("0300 00 716171")) +                           // STRING qaq
        FormulaRecord(7, 2, "0100 0100 0000 FFFF", "1D01") +              // boolean result
        FormulaRecord(7, 3, "0200 0700 0000 FFFF", "1E0100 1E0000 06") +  // #DIV/0!
        FormulaRecord(7, 4, "0300 0000 0000 FFFF", "17 00 00");           // empty string
    auto book = OpenStream(Stream(0x0600, globals, {{Name8("Cells"), 0, cells}}));
    ASSERT_EQ(book->SheetCount(), 1);
    EXPECT_EQ(Text(*book, 1, 1), "1.500");
    EXPECT_EQ(Text(*book, 2, 1), "1");
    EXPECT_EQ(Text(*book, 3, 1), "100.00%");
    EXPECT_EQ(Text(*book, 4, 1), "2.5");  // MULRK: integer 250, divided by 100
    EXPECT_EQ(Text(*book, 4, 2), "-2");
    EXPECT_EQ(Text(*book, 5, 1), "日本");
    EXPECT_EQ(Text(*book, 5, 2), "");
    EXPECT_EQ(Text(*book, 6, 1), "xy");
    EXPECT_EQ(Text(*book, 7, 1), "TRUE");
    EXPECT_EQ(Text(*book, 7, 2), "#N/A");
    EXPECT_EQ(Formula(*book, 8, 1), "=1");
    EXPECT_EQ(Text(*book, 8, 2), "qaq");
    EXPECT_EQ(Formula(*book, 8, 2), "=\"q\"");
    EXPECT_EQ(Text(*book, 8, 3), "TRUE");
    EXPECT_EQ(Text(*book, 8, 4), "#DIV/0!");
    EXPECT_EQ(Formula(*book, 8, 4), "=1/0");
    EXPECT_EQ(Text(*book, 8, 5), "");
    const CellRect& used = book->Sheet(0).UsedRange();
    EXPECT_EQ(used.bottom, 20);
    EXPECT_EQ(used.right, 8);
    EXPECT_NE(book->Sheet(0).FindCell(11, 3), nullptr);
}

TEST(XlsReader, StoredFormulasResolvePerCellAndNotesJoinTheirText) {
    const QByteArray cells =
        FormulaRecord(0, 1, "0000000000000000", "01 0000 0100") +
        Record(0x04BC, Hex("0000 0200 01 01 00 03") + U16(5) + Hex("2C 0000 FFC0")) +
        FormulaRecord(1, 1, "0000000000000000", "01 0000 0100") +
        FormulaRecord(2, 1, "0000000000000000", "01 0000 0100") +
        FormulaRecord(3, 1, "0000000000001440", "01 0900 0900") +  // group never stored
        FormulaRecord(5, 1, "0000000000000000", "02 0500 0100") +  // data tables
        Record(0x0236, Hex("0500 0600 01 01 0000 0000 0000 0000 0000")) +
        FormulaRecord(6, 1, "0000000000000000", "02 0500 0100") +
        FormulaRecord(8, 2, "0000000000000000", "02 0800 0200") +
        Record(0x0236, Hex("0800 0800 02 02 0800 0000 0000 0100 0200")) +
        Record(0x005D, Hex("1500 1200 1900 0700") + QByteArray(14, '\0')) +
        Record(0x01B6, Hex("1202 0000 000000000000 0700 1000 0000")) +
        Record(0x003C, Hex("00 4865")) + Record(0x003C, Hex("01 6C006C006F00 0A00 E565")) +
        Record(0x003C, QByteArray(16, '\0')) + Record(0x001C, At(0, 1) + Hex("0700 0100 00 58 00"));
    auto book = OpenStream(Stream(0x0600, {}, {{Name8("S"), 0, cells}}));
    EXPECT_EQ(Formula(*book, 1, 2), "=A1");
    EXPECT_EQ(Formula(*book, 2, 2), "=A2");
    EXPECT_EQ(Formula(*book, 3, 2), "=A3");
    EXPECT_EQ(Formula(*book, 4, 2), "5");  // no stored formula: the cached value as a constant
    EXPECT_EQ(Formula(*book, 6, 2), "=TABLE(,A1)");
    EXPECT_EQ(Formula(*book, 7, 2), "=TABLE(,A1)");
    EXPECT_EQ(Formula(*book, 9, 3), "=TABLE(A1,C2)");
    const QString* note = book->Sheet(0).FindNote(1, 2);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(*note, QStringLiteral("Hello\n日"));
}

// ROW records with no height hide their row, COLINFO its columns; FILTERMODE makes the
// hidden rows a filter's.
TEST(XlsReader, RecordsHiddenRowsColumnsAndAnActiveFilter) {
    const auto row = [](uint16_t index, uint16_t flags) {
        return Record(0x0208, U16(index) + U16(0) + U16(2) + U16(0x00FF) + U16(0) + U16(0) +
                                  U16(flags) + U16(15));
    };
    const QByteArray shown =
        row(0, 0x0100) + row(1, 0x0120) + row(2, 0x0100) +
        Record(0x007D, U16(3) + U16(4) + U16(0x0900) + U16(15) + U16(1) + U16(0)) +
        Record(0x0204, At(1, 0) + Hex("0200 00 7879"));
    auto plain = OpenStream(Stream(0x0600, {}, {{Name8("S"), 0, shown}}));
    const Worksheet& sheet = plain->Sheet(0);
    EXPECT_FALSE(sheet.IsRowHidden(1));
    EXPECT_TRUE(sheet.IsRowHidden(2));
    EXPECT_FALSE(sheet.IsRowHidden(3));
    EXPECT_EQ((std::array{sheet.IsColumnHidden(3), sheet.IsColumnHidden(4), sheet.IsColumnHidden(5),
                          sheet.IsColumnHidden(6)}),
              (std::array{false, true, true, false}));
    EXPECT_FALSE(sheet.IsFilteredOut(2));

    auto filtered =
        OpenStream(Stream(0x0600, {}, {{Name8("S"), 0, shown + Record(0x009B, {})}}), "filter.xls");
    EXPECT_TRUE(filtered->Sheet(0).IsFilteredOut(2));
    EXPECT_FALSE(filtered->Sheet(0).IsFilteredOut(3));
}

TEST(XlsReader, KeepsHiddenSheetsAndLeavesChartsOut) {
    const QByteArray chart =
        Bof(0x0600, 0x20) + Record(0x0203, At(0, 0) + Hex("0000000000000000")) + Eof;
    const QByteArray visible = Record(0x0204, At(0, 0) + Hex("0100 00 61")) + chart;
    auto book = OpenStream(
        Stream(0x0600, {},
               {{Name8("One"), 0, visible},
                {Name8("Chart1"), 2, {}},
                {Hex("02 01 E5652C67"), 0, Record(0x0204, At(1, 1) + Hex("0100 00 62"))}}));
    ASSERT_EQ(book->SheetCount(), 2);
    EXPECT_EQ(book->SheetName(0), QStringLiteral("One"));
    EXPECT_EQ(book->SheetName(1), QStringLiteral("日本"));
    // The embedded chart's own records are not cells of the sheet.
    EXPECT_EQ(book->Sheet(0).Cells().size(), 1u);
    EXPECT_NE(book->Sheet(1).FindCell(2, 2), nullptr);
}

TEST(XlsReader, ReadsBiff5StringsInTheirCodePage) {
    const QByteArray globals = Record(0x0042, U16(932));
    const QByteArray name = QByteArray(1, 4) + Hex("93FA967B");
    const QByteArray cells = Record(0x0204, At(0, 0) + U16(4) + Hex("8C9F8DF5")) +  // 検索
                             Record(0x001C, U16(0) + U16(0) + U16(3) + "abc");
    const QString path = WriteFile(
        "biff5.xls", {{QStringLiteral("Book"), Stream(0x0500, globals, {{name, 0, cells}})}});
    auto book = OpenWith<XlsReader>(path);
    EXPECT_EQ(book->SheetName(0), QStringLiteral("日本"));
    EXPECT_EQ(Text(*book, 1, 1), "検索");
    const QString* note = book->Sheet(0).FindNote(1, 1);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(*note, QStringLiteral("abc"));
}

TEST(XlsReader, PrefersTheWorkbookStreamOfADualFormatFile) {
    const QByteArray biff8 = Stream(0x0600, {}, {{Name8("New"), 0, {}}});
    const QByteArray biff5 = Stream(0x0500, {}, {{QByteArray(1, 3) + "Old", 0, {}}});
    auto book = OpenWith<XlsReader>(WriteFile(
        "dual.xls", {{QStringLiteral("Book"), biff5}, {QStringLiteral("Workbook"), biff8}}));
    EXPECT_EQ(book->SheetName(0), QStringLiteral("New"));
}

struct Hostile {
    const char* what;
    std::function<QString()> file;
    ReadErrorCode code;
    bool whenReadingTheSheet;
};

const Hostile HostileFiles[] = {
    {"FILEPASS",
     [] {
         return WriteFile("pass.xls", {{QStringLiteral("Workbook"),
                                        Stream(0x0600, Record(0x002F, Hex("0000")), {})}});
     },
     ReadErrorCode::BiffEncrypted, false},
    {"encrypted package",
     [] {
         return WriteFile("secret.xlsx", {{QStringLiteral("EncryptionInfo"), "x"},
                                          {QStringLiteral("EncryptedPackage"), "y"}});
     },
     ReadErrorCode::EncryptedPackage, false},
    {"compound file without a workbook",
     [] {
         return WriteFile("other.doc", {{QStringLiteral("WordDocument"), "x"}});
     },
     ReadErrorCode::NoWorkbookStream, false},
    {"BIFF4 stream",
     [] {
         return WriteFile("old.xls", {{QStringLiteral("Book"), Record(0x0409, Hex("0000 1000"))}});
     },
     ReadErrorCode::BiffVersion, false},
    {"bare BIFF4 file",
     [] {
         const QString path = testsupport::ScratchDir() + QStringLiteral("/bare.xls");
         QFile file(path);
         file.open(QIODevice::WriteOnly);
         file.write(Record(0x0409, Hex("0000 1000 0000")) + Eof);
         return path;
     },
     ReadErrorCode::OldBiffWorksheet, false},
    {"missing file", [] { return testsupport::ScratchDir() + QStringLiteral("/absent.xls"); },
     ReadErrorCode::FileNotFound, false},
    {"stream not starting with BOF",
     [] {
         return WriteFile("nobof.xls", {{QStringLiteral("Workbook"), Eof}});
     },
     ReadErrorCode::BiffNoBof, false},
    {"record length past the stream end",
     [] {
         return WriteFile("long.xls",
                          {{QStringLiteral("Workbook"), Bof(0x0600, 5) + Hex("FC00 FF7F 0000")}});
     },
     ReadErrorCode::BiffRecordPastEnd, false},
    {"sheet offset beyond the stream",
     [] {
         QByteArray stream = Stream(0x0600, {}, {{Name8("S"), 0, {}}});
         // The BOUNDSHEET record follows the globals' BOF; its body starts with the offset.
         const qsizetype offsetAt = Bof(0x0600, 5).size() + 4;
         stream.replace(offsetAt, 4, U32(0x7FFFFFF0));
         return WriteFile("short.xls", {{QStringLiteral("Workbook"), stream}});
     },
     ReadErrorCode::BiffSubstreamOutside, true},
    {"sheet without EOF",
     [] {
         QByteArray stream = Stream(0x0600, {}, {{Name8("S"), 0, {}}});
         stream.chop(Eof.size());
         return WriteFile("noeof.xls", {{QStringLiteral("Workbook"), stream}});
     },
     ReadErrorCode::BiffNoEof, true},
    {"CONTINUE without a predecessor",
     [] {
         return WriteFile("orphan.xls", {{QStringLiteral("Workbook"),
                                          Record(0x003C, "x") + Stream(0x0600, {}, {})}});
     },
     ReadErrorCode::BiffContinueAlone, false},
    {"cell column past the sheet's last column",
     [] {
         return WriteFile(
             "wide.xls",
             {{QStringLiteral("Workbook"),
               Stream(0x0600, {},
                      {{Name8("S"), 0, Record(0x0203, At(0, 16384) + Hex("000000000000F03F"))}})}});
     },
     ReadErrorCode::CellOutsideSheet, true},
    {"formula token stream ending mid-token",
     [] {
         return WriteFile(
             "cut.xls",
             {{QStringLiteral("Workbook"),
               Stream(0x0600, {},
                      {{Name8("S"), 0, FormulaRecord(0, 0, "0000000000000000", "24 0000")}})}});
     },
     ReadErrorCode::BiffRecordShort, true},
};

class XlsHostile : public ::testing::TestWithParam<Hostile> {};

TEST_P(XlsHostile, EndsInTheEngineErrorNamingTheFile) {
    const Hostile& c = GetParam();
    const QString path = c.file();
    try {
        auto book = OpenWith<XlsReader>(path);
        ASSERT_TRUE(c.whenReadingTheSheet) << c.what << ": opened";
        book->Sheet(0);
        FAIL() << c.what << ": no error";
    } catch (const EngineError& error) {
        EXPECT_EQ(error.Code(), c.code) << c.what << ": " << error.Detail().toStdString();
        EXPECT_TRUE(error.Message().contains(QFileInfo(path).fileName())) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, XlsHostile, ::testing::ValuesIn(HostileFiles));

// Fuzzed files point LABELSST past the table or have no table at all: such a cell is empty
// but formatted, and Find, which looks strings up by index, passes it by.
TEST(XlsReader, ASharedStringCellWithoutItsStringIsAnEmptyCell) {
    const QByteArray table = Record(0x00FC, Hex("01000000 01000000 0100 00 61"));
    for (const QByteArray& globals : {QByteArray(), table}) {
        const QByteArray cells = Record(0x00FD, At(0, 0) + Hex("07000000")) +
                                 Record(0x00FD, At(1, 1) + Hex("FFFFFFFF")) +
                                 Record(0x0204, At(2, 2) + Hex("0100 00 62"));
        auto book = OpenStream(Stream(0x0600, globals, {{Name8("S"), 0, cells}}));
        Worksheet& sheet = book->Sheet(0);
        for (auto [row, column] : {std::pair{1, 1}, std::pair{2, 2}}) {
            const Cell* cell = sheet.FindCell(row, column);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(cell->type, CellType::Blank);
        }
        for (LookIn lookIn : {LookIn::Formulas, LookIn::Values}) {
            FindOptions options;
            options.what = QStringLiteral("*");
            options.lookIn = lookIn;
            const RangeFinder finder(*book, sheet, sheet.UsedRange(), options);
            const auto found = finder.Next({1, 1});
            ASSERT_TRUE(found.has_value());
            EXPECT_EQ(std::pair(found->row, found->column), std::pair(3, 3));
            EXPECT_EQ(finder.Next(*found)->row, 3);
        }
    }
}

TEST(XlsReader, SharedStringCountThatLiesHighReadsWhatIsThere) {
    const QByteArray globals = Record(0x00FC, Hex("64000000 64000000 0100 00 61"));
    auto book = OpenStream(
        Stream(0x0600, globals, {{Name8("S"), 0, Record(0x00FD, At(0, 0) + Hex("00000000"))}}));
    EXPECT_EQ(Text(*book, 1, 1), "a");
}

}  // namespace
}  // namespace engine
