// Hand-written packages for what libxlsxwriter never writes: phonetic runs, escapes, cells
// without references, every cell type, shared and array formulas, threaded comments, and
// packages whose parts have unusual names.
#include "engine/model/CellText.h"
#include "tests/engine/readers/xlsx/XlsxTestBook.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

using testpackage::Members;

const Cell& CellAt(Workbook& book, int row, int column, int sheet = 0) {
    const Cell* cell = book.Sheet(sheet).FindCell(row, column);
    if (!cell) {
        throw std::runtime_error("no cell at " + std::to_string(row) + "," +
                                 std::to_string(column));
    }
    return *cell;
}

QString FormulaAt(Workbook& book, int row, int column) {
    return book.String(CellAt(book, row, column).formula);
}

struct StringCase {
    const char* item;
    const char* expected;
};

class SharedStringText : public testing::TestWithParam<StringCase> {};

TEST_P(SharedStringText, JoinsRunsWithoutPhoneticReading) {
    const auto book = testpackage::Open(
        QStringLiteral("sst.xlsx"),
        testpackage::Workbook("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>",
                              GetParam().item));
    const Cell& cell = CellAt(*book, 1, 1);
    EXPECT_EQ(cell.type, CellType::Text);
    EXPECT_EQ(book->String(cell.text).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Items, SharedStringText,
    testing::Values(
        StringCase{"<si><t>共通</t><rPh sb=\"0\" eb=\"2\"><t>キョウツウ</t></rPh>"
                   "<phoneticPr fontId=\"1\"/></si>",
                   "共通"},
        StringCase{"<si><r><rPr><b/></rPr><t>日本</t></r><r><t>語</t></r></si>", "日本語"},
        StringCase{"<si><t>課</t><r><t>きく</t></r><rPh><t>カ</t></rPh></si>", "課きく"},
        StringCase{"<si><t xml:space=\"preserve\">  both ends  </t></si>", "  both ends  "},
        StringCase{"<si><t>a_x000D_b_x0009_c</t></si>", "a\rb\tc"},
        StringCase{"<si><t>_x005F_x000D_</t></si>", "_x000D_"},
        StringCase{"<si><t>_x00zz_ and _x41_</t></si>", "_x00zz_ and _x41_"},
        StringCase{"<si><t>&amp;&lt;&#10;</t></si>", "&<\n"}, StringCase{"<si><t/></si>", ""}));

struct CellCase {
    const char* name;
    const char* xml;
    CellType type;
    double number;
    const char* text;
    const char* formula;
};

class CellValues : public testing::TestWithParam<CellCase> {};

TEST_P(CellValues, ReadEachType) {
    const CellCase& c = GetParam();
    const auto book =
        testpackage::Open(QStringLiteral("types.xlsx"),
                          testpackage::Workbook(std::string("<row r=\"1\">") + c.xml + "</row>"));
    const Cell& cell = CellAt(*book, 1, 1);
    EXPECT_EQ(cell.type, c.type);
    if (c.type == CellType::Number || c.type == CellType::Boolean) {
        EXPECT_DOUBLE_EQ(cell.number, c.number);
    } else {
        EXPECT_EQ(book->String(cell.text).toStdString(), c.text);
    }
    EXPECT_EQ(book->String(cell.formula).toStdString(), c.formula);
}

INSTANTIATE_TEST_SUITE_P(
    Types, CellValues,
    testing::Values(
        CellCase{"number", "<c r=\"A1\"><v>1234.5</v></c>", CellType::Number, 1234.5, "", ""},
        CellCase{"exponent", "<c r=\"A1\" t=\"n\"><v>1E-3</v></c>", CellType::Number, 0.001, "",
                 ""},
        CellCase{"boolean", "<c r=\"A1\" t=\"b\"><v>1</v></c>", CellType::Boolean, 1, "", ""},
        CellCase{"error", "<c r=\"A1\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c>", CellType::Error, 0,
                 "#DIV/0!", "1/0"},
        CellCase{"formula string", "<c r=\"A1\" t=\"str\"><f>B1&amp;\"x\"</f><v>abcx</v></c>",
                 CellType::Text, 0, "abcx", "B1&\"x\""},
        CellCase{"inline",
                 "<c r=\"A1\" t=\"inlineStr\"><is><t>in</t><rPh><t>イン</t></rPh></is></c>",
                 CellType::Text, 0, "in", ""},
        CellCase{"iso date", "<c r=\"A1\" t=\"d\"><v>2024-01-05T18:00:00</v></c>", CellType::Number,
                 45296.75, "", ""},
        CellCase{"early iso date", "<c r=\"A1\" t=\"d\"><v>1900-01-01</v></c>", CellType::Number, 1,
                 "", ""},
        CellCase{"future function", "<c r=\"A1\"><f>_xlfn.CONCAT(\"a\",\"b\")</f><v>0</v></c>",
                 CellType::Number, 0, "", "CONCAT(\"a\",\"b\")"},
        CellCase{"no cached value", "<c r=\"A1\"><f>SUM(B1:B3)</f></c>", CellType::Text, 0, "",
                 "SUM(B1:B3)"},
        CellCase{"data table",
                 "<c r=\"A1\"><f t=\"dataTable\" ref=\"A1\" r1=\"B1\" r2=\"C1\"/><v>2</v></c>",
                 CellType::Number, 2, "", "TABLE(B1,C1)"},
        CellCase{"unreadable number", "<c r=\"A1\"><v>1.#INF</v></c>", CellType::Text, 0, "1.#INF",
                 ""}),
    [](const testing::TestParamInfo<CellCase>& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(XlsxCells, PositionsWithoutReferencesFollowThePreviousCell) {
    const auto book =
        testpackage::Open(QStringLiteral("norefs.xlsx"),
                          testpackage::Workbook("<row><c><v>1</v></c><c><v>2</v></c></row>"
                                                "<row><c r=\"C2\"><v>3</v></c><c><v>4</v></c></row>"
                                                "<row r=\"5\"><c><v>5</v></c></row>"));
    EXPECT_EQ(CellAt(*book, 1, 1).number, 1);
    EXPECT_EQ(CellAt(*book, 1, 2).number, 2);
    EXPECT_EQ(CellAt(*book, 2, 3).number, 3);
    EXPECT_EQ(CellAt(*book, 2, 4).number, 4);
    EXPECT_EQ(CellAt(*book, 5, 1).number, 5);
    EXPECT_EQ(book->Sheet(0).Cells().size(), 5u);
}

TEST(XlsxCells, FormattedEmptyCellsCountButUnstyledOnesDoNot) {
    const auto book = testpackage::Open(
        QStringLiteral("blank.xlsx"),
        testpackage::Workbook("<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\"/></row>"
                              "<row r=\"9\"><c r=\"D9\" s=\"1\"/></row>",
                              {}, "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"2\"/></cellXfs>"));
    const Worksheet& sheet = book->Sheet(0);
    EXPECT_EQ(sheet.FindCell(1, 2), nullptr);
    ASSERT_NE(sheet.FindCell(9, 4), nullptr);
    EXPECT_EQ(sheet.FindCell(9, 4)->type, CellType::Blank);
    EXPECT_EQ(sheet.UsedRange().bottom, 9);
    EXPECT_EQ(sheet.UsedRange().right, 4);
}

TEST(XlsxFormulas, SharedMembersMoveFromTheirMasterInEitherOrder) {
    const auto book = testpackage::Open(
        QStringLiteral("shared.xlsx"),
        testpackage::Workbook(
            // The member B1 comes before its master B2; group 1 spans two axes.
            "<row r=\"1\"><c r=\"B1\"><f t=\"shared\" si=\"0\"/><v>0</v></c></row>"
            "<row r=\"2\"><c r=\"B2\"><f t=\"shared\" ref=\"B1:B5\" "
            "si=\"0\">A2*$C$1</f><v>0</v></c>"
            "<c r=\"D2\"><f t=\"shared\" ref=\"D2:E3\" si=\"1\">SUM(A:A)+C$1</f><v>0</v></c>"
            "<c r=\"E2\"><f t=\"shared\" si=\"1\"/><v>0</v></c></row>"
            "<row r=\"5\"><c r=\"B5\"><f t=\"shared\" si=\"0\"/><v>0</v></c>"
            "<c r=\"E5\"><f t=\"shared\" si=\"1\"/><v>0</v></c></row>"));
    EXPECT_EQ(FormulaAt(*book, 2, 2), u"A2*$C$1");
    EXPECT_EQ(FormulaAt(*book, 1, 2), u"A1*$C$1");
    EXPECT_EQ(FormulaAt(*book, 5, 2), u"A5*$C$1");
    EXPECT_EQ(FormulaAt(*book, 2, 5), u"SUM(B:B)+D$1");
    EXPECT_EQ(FormulaAt(*book, 5, 5), u"SUM(B:B)+D$1");
}

TEST(XlsxFormulas, LegacyArraysCoverTheirRangeButSpillsDoNot) {
    const auto book = testpackage::Open(
        QStringLiteral("array.xlsx"),
        testpackage::Workbook(
            "<row r=\"1\"><c r=\"A1\"><f t=\"array\" ref=\"A1:A2\">SUM(B1:C1*B2:C2)</f><v>5</v></c>"
            "<c r=\"D1\" cm=\"1\"><f t=\"array\" "
            "ref=\"D1:D2\">_xlfn._xlws.SORT(B1:B2)</f><v>1</v></c></row>"
            "<row r=\"2\"><c r=\"A2\"><v>5</v></c><c r=\"D2\"><v>2</v></c></row>"
            "<row r=\"3\"><c r=\"A3\"><v>6</v></c></row>"));
    EXPECT_EQ(FormulaAt(*book, 1, 1), u"SUM(B1:C1*B2:C2)");
    EXPECT_EQ(FormulaAt(*book, 2, 1), u"SUM(B1:C1*B2:C2)");
    EXPECT_EQ(CellAt(*book, 3, 1).formula, NoString);
    EXPECT_EQ(FormulaAt(*book, 1, 4), u"SORT(B1:B2)");
    EXPECT_EQ(CellAt(*book, 2, 4).formula, NoString);
}

TEST(XlsxStyles, CellFormatsResolveToCodes) {
    const auto book = testpackage::Open(
        QStringLiteral("styles.xlsx"),
        testpackage::Workbook(
            "<row r=\"1\"><c r=\"A1\" s=\"1\"><v>45296</v></c><c r=\"B1\" s=\"2\"><v>45296</v></c>"
            "<c r=\"C1\" s=\"3\"><v>1234.5</v></c><c r=\"D1\" s=\"99\"><v>0.5</v></c></row>",
            {},
            "<numFmts count=\"2\"><numFmt numFmtId=\"164\" "
            "formatCode=\"yyyy&quot;年&quot;m&quot;月&quot;\"/>"
            "<numFmt numFmtId=\"3\" formatCode=\"0.0\"/></numFmts>"
            "<cellStyleXfs><xf numFmtId=\"10\"/><xf numFmtId=\"10\"/></cellStyleXfs>"
            "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/>"
            "<xf numFmtId=\"3\"/></cellXfs>"));
    EXPECT_EQ(CellText::Text(*book, CellAt(*book, 1, 1)), u"2024/1/5");
    EXPECT_EQ(CellText::Text(*book, CellAt(*book, 1, 2)), u"2024年1月");
    // A code stored in the file wins over the built-in one of the same id.
    EXPECT_EQ(CellText::Text(*book, CellAt(*book, 1, 3)), u"1234.5");
    // A cell format the styles do not have shows as General.
    EXPECT_EQ(book->Format(CellAt(*book, 1, 4).format), u"General");
}

TEST(XlsxPackage, FindsPartsThroughRelationshipsWhateverTheirNames) {
    const std::string strict = "http://purl.oclc.org/ooxml/spreadsheetml/main";
    const std::string strictRelationships =
        "http://purl.oclc.org/ooxml/officeDocument/relationships";
    const auto relationship = [&](const std::string& id, const std::string& type,
                                  const std::string& target) {
        return "<Relationship Id=\"" + id + "\" Type=\"" + strictRelationships + "/" + type +
               "\" Target=\"" + target + "\"/>";
    };
    const Members members = {
        {"_rels/.rels",
         testpackage::Relationships(relationship("r1", "officeDocument", "/data/My%20Book.xml"))},
        {"data/My Book.xml",
         "<x:workbook xmlns:x=\"" + strict + "\" xmlns:r=\"" + strictRelationships +
             "\"><x:workbookPr date1904=\"true\"/><x:sheets>"
             "<x:sheet name=\"Chart\" sheetId=\"1\" r:id=\"c\"/>"
             "<x:sheet name=\"売上\" sheetId=\"3\" r:id=\"a\"/>"
             "<x:sheet name=\"Hidden\" sheetId=\"2\" state=\"veryHidden\" r:id=\"b\"/>"
             "</x:sheets></x:workbook>"},
        {"data/_rels/My Book.xml.rels",
         testpackage::Relationships(relationship("a", "worksheet", "sheets/one.xml") +
                                    relationship("b", "worksheet", "../data/sheets/two.xml") +
                                    relationship("c", "chartsheet", "charts/c.xml"))},
        {"data\\sheets\\one.xml",
         "<x:worksheet xmlns:x=\"" + strict +
             "\"><x:sheetData><x:row r=\"1\"><x:c r=\"A1\"><x:v>43834</x:v>"
             "</x:c></x:row></x:sheetData></x:worksheet>"},
        {"DATA/SHEETS/TWO.XML", testpackage::Sheet("")},
    };
    const auto book = testpackage::Open(QStringLiteral("strict.xlsx"), members);
    ASSERT_EQ(book->SheetCount(), 2);
    EXPECT_EQ(book->SheetName(0), u"売上");
    EXPECT_EQ(book->SheetName(1), u"Hidden");
    EXPECT_TRUE(book->Date1904());
    EXPECT_EQ(CellAt(*book, 1, 1).number, 43834);
    EXPECT_TRUE(book->Sheet(1).Cells().empty());
}

Members WithComments(const Members& commentParts, const std::string& sheetRelationships) {
    Members extra = commentParts;
    extra.push_back(
        {"xl/worksheets/_rels/sheet1.xml.rels", testpackage::Relationships(sheetRelationships)});
    return testpackage::Workbook("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>", {}, {}, extra);
}

const std::string LegacyComments =
    "<comments xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<authors><author>Yamada</author></authors><commentList>"
    "<comment ref=\"B2\" authorId=\"0\"><text><r><rPr><b/></rPr><t>Yamada:</t></r>"
    "<r><t "
    "xml:space=\"preserve\">&#10;確認してください</t></r><rPh><t>カクニン</t></rPh></text></"
    "comment>"
    "</commentList></comments>";

const std::string ThreadedComments =
    "<ThreadedComments "
    "xmlns=\"http://schemas.microsoft.com/office/spreadsheetml/2018/threadedcomments\">"
    "<threadedComment ref=\"B2\" id=\"{1}\" personId=\"{9}\"><text>thread on "
    "B2</text></threadedComment>"
    "<threadedComment ref=\"C3\" id=\"{2}\" personId=\"{9}\"><text>first</text></threadedComment>"
    "<threadedComment ref=\"C3\" id=\"{3}\" parentId=\"{2}\" personId=\"{9}\"><text>reply</text>"
    "</threadedComment></ThreadedComments>";

TEST(XlsxComments, LegacyNotesAreTheirRunsWithoutAuthorOrReading) {
    const auto book = testpackage::Open(
        QStringLiteral("notes.xlsx"),
        WithComments({{"xl/comments7.xml", LegacyComments}},
                     testpackage::Relationship("n", "comments", "../comments7.xml")));
    const QString* note = book->Sheet(0).FindNote(2, 2);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(*note, u"Yamada:\n確認してください");
}

TEST(XlsxComments, ThreadsCountWhereNoLegacyNoteExists) {
    const std::string threadedType =
        "http://schemas.microsoft.com/office/2017/10/relationships/threadedComment";
    const std::string threadRelationship = "<Relationship Id=\"t\" Type=\"" + threadedType +
                                           "\" Target=\"../threadedComments/t1.xml\"/>";
    const auto book = testpackage::Open(
        QStringLiteral("threads.xlsx"),
        WithComments(
            {{"xl/comments1.xml", LegacyComments},
             {"xl/threadedComments/t1.xml", ThreadedComments}},
            testpackage::Relationship("n", "comments", "../comments1.xml") + threadRelationship));
    const Worksheet& sheet = book->Sheet(0);
    ASSERT_NE(sheet.FindNote(2, 2), nullptr);
    EXPECT_EQ(*sheet.FindNote(2, 2), u"Yamada:\n確認してください");
    ASSERT_NE(sheet.FindNote(3, 3), nullptr);
    EXPECT_EQ(*sheet.FindNote(3, 3), u"first\nreply");
    EXPECT_EQ(sheet.Notes().size(), 2u);
}

}  // namespace
}  // namespace engine
