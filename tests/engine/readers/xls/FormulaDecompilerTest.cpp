// Token streams → formula texts: operators and the stored parentheses, references of every
// kind, 3-D references through the link table, functions (fixed, variable, add-in, the
// attribute forms), constants, arrays, shared-formula offsets, and broken streams.
#include "engine/model/ReadError.h"
#include "engine/readers/xls/CodePage.h"
#include "engine/readers/xls/FormulaDecompiler.h"
#include "engine/readers/xls/XlsLinkTable.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

XlsLinkTable MakeLinks() {
    XlsLinkTable links;
    for (const char* name : {"Sheet1", "My Sheet", "売上", "2024", "A1"}) {
        links.AddSheet(QString::fromUtf8(name));
    }
    links.AddSupBook(XlsLinkTable::BookKind::Self);
    links.AddSupBook(XlsLinkTable::BookKind::AddIns);
    links.AddExternName(QStringLiteral("_xlfn.IFERROR"));
    links.AddSupBook(XlsLinkTable::BookKind::External, QStringLiteral("Book.xls"),
                     {QStringLiteral("Data")});
    links.AddXti(0, 0, 0);    // 0: Sheet1
    links.AddXti(0, 1, 1);    // 1: My Sheet
    links.AddXti(0, 0, 2);    // 2: Sheet1:売上
    links.AddXti(0, -1, -1);  // 3: a deleted sheet
    links.AddXti(1, -2, -2);  // 4: add-in functions
    links.AddXti(0, 3, 3);    // 5: 2024
    links.AddXti(0, 4, 4);    // 6: A1 (a name that reads as a reference)
    links.AddXti(2, 0, 0);    // 7: [Book.xls]Data
    links.AddDefinedName(QStringLiteral("Rate"));
    return links;
}

struct Case {
    const char* what;
    const char* tokens;
    const char* extra;
    int row, column;  // the cell shown, 0-based
    const char* text;
};

// Shorthands: A1 relative = "24 0000 00C0", B1 = "24 0000 01C0", integers "1E nnnn".
const Case Biff8Cases[] = {
    {"precedence as stored", "1E0100 1E0200 1E0300 05 03", "", 0, 0, "1+2*3"},
    {"stored parentheses", "1E0100 1E0200 03 15 1E0300 05", "", 0, 0, "(1+2)*3"},
    {"unary minus before power", "24 0000 00C0 13 1E0200 07", "", 0, 0, "-A1^2"},
    {"unary plus and percent", "24 0000 00C0 12 14", "", 0, 0, "+A1%"},
    {"comparison and concatenation", "24 0000 00C0 24 0000 01C0 0E 17 0100 78 08", "", 0, 0,
     "A1<>B1&\"x\""},
    {"union inside parentheses", "25 0000 0100 00C0 01C0 24 0200 02C0 10 15", "", 0, 0,
     "(A1:B2,C3)"},
    {"intersection", "25 0000 0100 00C0 01C0 25 0000 0200 01C0 02C0 0F", "", 0, 0, "A1:B2 B1:C3"},
    {"absolute parts", "25 0000 0100 0000 0140", "", 0, 0, "$A$1:B$2"},
    {"whole columns", "25 0000 FFFF 00C0 0180", "", 0, 0, "A:$B"},
    {"whole rows", "25 0000 0200 0000 FF00", "", 0, 0, "$1:$3"},
    {"3-D reference with quoted name", "3A 0100 0100 0000", "", 0, 0, "'My Sheet'!$A$2"},
    {"3-D span of sheets", "3A 0200 0000 00C0", "", 0, 0, "Sheet1:売上!A1"},
    {"3-D area", "3B 0000 0000 0400 00C0 01C0", "", 0, 0, "Sheet1!A1:B5"},
    {"deleted sheet", "3A 0300 0000 00C0", "", 0, 0, "#REF!A1"},
    {"sheet name of digits", "3A 0500 0000 00C0", "", 0, 0, "'2024'!A1"},
    {"sheet name that reads as a reference", "3A 0600 0000 00C0", "", 0, 0, "'A1'!A1"},
    {"external book", "3A 0700 0000 00C0", "", 0, 0, "'[Book.xls]Data'!A1"},
    {"reference errors", "2A 00000000 3C 0000 00000000 03", "", 0, 0, "#REF!+Sheet1!#REF!"},
    {"string with quotes", "17 08 00 7361792022686922", "", 0, 0, "\"say \"\"hi\"\"\""},
    {"UTF-16 string", "17 02 01 E5652C67", "", 0, 0, "\"日本\""},
    {"fixed-argument functions", "21 1300 1E0200 21 1B00", "", 0, 0, "ROUND(PI(),2)"},
    {"variable-argument function", "24 0000 00C0 24 0000 01C0 22 02 0400", "", 0, 0, "SUM(A1,B1)"},
    {"missing argument", "24 0000 00C0 16 1E0100 22 03 0100", "", 0, 0, "IF(A1,,1)"},
    {"add-in function by name", "39 0400 01000000 24 0000 00C0 1E0000 22 03 FF00", "", 0, 0,
     "IFERROR(A1,0)"},
    {"attribute sum", "25 0000 0400 00C0 00C0 19 10 0000", "", 0, 0, "SUM(A1:A5)"},
    {"IF with its jumps",
     "24 0000 00C0 1E0200 0D 19 02 0700 17 03 00 626967 19 08 0900 "
     "17 05 00 736D616C6C 19 08 0300 22 03 0100",
     "", 0, 0, "IF(A1>2,\"big\",\"small\")"},
    {"CHOOSE with its jump table",
     "1E0200 19 04 0200 0800 0C00 1000 24 0000 00C0 19 08 0800 "
     "24 0100 00C0 19 08 0400 22 03 6400",
     "", 0, 0, "CHOOSE(2,A1,A2)"},
    {"space before an operand", "24 0000 00C0 19 40 00 01 1E0100 03", "", 0, 0, "A1+ 1"},
    {"space before an operator", "24 0000 00C0 1E0100 19 40 00 02 03", "", 0, 0, "A1  +1"},
    {"spaces inside parentheses", "24 0000 00C0 19 40 04 01 19 40 02 01 15", "", 0, 0, " (A1 )"},
    {"line break before an operand", "24 0000 00C0 19 40 01 01 1E0100 03", "", 0, 0, "A1+\n1"},
    {"spaces before the whole formula", "19 40 06 02 24 0000 00C0", "", 0, 0, "  A1"},
    {"largest integer constant", "1E FFFF", "", 0, 0, "65535"},
    {"string keeps a leading byte order mark", "17 02 01 FFFE 4100", "", 0, 0,
     "\"\xEF\xBB\xBF"
     "A\""},
    {"defined name", "23 01000000 1E0200 05", "", 0, 0, "Rate*2"},
    {"unknown defined name", "23 09000000", "", 0, 0, "#NAME?"},
    {"constants", "1C 07 1D 01 1F 9A9999999999B93F 1F 408CB5781DAF1544 22 04 0400", "", 0, 0,
     "SUM(#DIV/0!,TRUE,0.1,1E+20)"},
    {"array constant", "20 00000000000000 22 01 0400",
     "01 0100 01 000000000000F03F 01 0000000000000040 02 0100 00 61 04 01 00000000000000", 0, 0,
     "SUM({1,2;\"a\",TRUE})"},
    {"precomputed area list is skipped", "26 00000000 0700 25 0000 0100 00C0 00C0 22 01 0400",
     "0100 0000 0100 0000 0000", 0, 0, "SUM(A1:A2)"},
    {"shared reference, column offset", "2C 0000 FFC0", "", 6, 1, "A7"},
    {"shared reference, row offset back", "2C FFFF 0080", "", 6, 1, "$A6"},
    {"shared reference, absolute parts stay", "2C 0000 0000", "", 6, 1, "$A$1"},
    {"shared area", "2D 0000 0400 FFC0 FFC0", "", 9, 2, "B10:B14"},
    {"shared reference wraps at the grid edge", "2C FFFF 00C0", "", 0, 0, "A65536"},
    {"unknown token gives a placeholder", "1E0100 18 0000", "", 0, 0, "#TOKEN_18?"},
};

class DecompileBiff8 : public ::testing::TestWithParam<Case> {};

TEST_P(DecompileBiff8, GivesTheFormulaBarText) {
    const Case& c = GetParam();
    const XlsLinkTable links = MakeLinks();
    CodePage codePage;
    FormulaDecompiler decompiler(links, FormulaDecompiler::Version::Biff8, codePage);
    EXPECT_EQ(decompiler.Decompile(Hex(c.tokens), Hex(c.extra), c.row, c.column).toStdString(),
              c.text)
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(Table, DecompileBiff8, ::testing::ValuesIn(Biff8Cases));

// A sheet's formulas go through one decompiler, which reuses its text buffers: no text may
// carry over from the formula before, nor from one that failed halfway.
TEST(DecompileBiff8Sequence, GivesEachFormulaItsOwnText) {
    const XlsLinkTable links = MakeLinks();
    CodePage codePage;
    FormulaDecompiler decompiler(links, FormulaDecompiler::Version::Biff8, codePage);
    std::vector<const Case*> order;
    for (const Case& c : Biff8Cases) {
        order.push_back(&c);
    }
    order.insert(order.end(), order.rbegin(), order.rend());
    for (const Case* c : order) {
        EXPECT_THROW(decompiler.Decompile(Hex("24 0000 00C0 1E0100 19 40 00 02"), {}, 3, 3),
                     ReadError);
        EXPECT_EQ(
            decompiler.Decompile(Hex(c->tokens), Hex(c->extra), c->row, c->column).toStdString(),
            c->text)
            << c->what;
    }
}

const Case Biff5Cases[] = {
    {"reference with flags in the row", "24 00C0 00 24 0100 01 03", "", 0, 0, "A1+$B$2"},
    {"3-D reference to this book", "3A FFFF 0000000000000000 0100 0100 00C0 00", "", 0, 0,
     "'My Sheet'!A1"},
    {"byte string", "17 03 616263", "", 0, 0, "\"abc\""},
    {"shared reference with 14-bit row offset", "2C FFFF FF", "", 4, 2, "B4"},
};

class DecompileBiff5 : public ::testing::TestWithParam<Case> {};

TEST_P(DecompileBiff5, GivesTheFormulaBarText) {
    const Case& c = GetParam();
    const XlsLinkTable links = MakeLinks();
    CodePage codePage(1252);
    FormulaDecompiler decompiler(links, FormulaDecompiler::Version::Biff5, codePage);
    EXPECT_EQ(decompiler.Decompile(Hex(c.tokens), Hex(c.extra), c.row, c.column).toStdString(),
              c.text)
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(Table, DecompileBiff5, ::testing::ValuesIn(Biff5Cases));

struct BrokenCase {
    const char* what;
    const char* tokens;
    const char* extra;
    ReadErrorCode code;
};

const BrokenCase Broken[] = {
    {"integer cut short", "1E01", "", ReadErrorCode::BiffRecordShort},
    {"reference cut short", "24 0000 00", "", ReadErrorCode::BiffRecordShort},
    {"operator without operands", "03", "", ReadErrorCode::FormulaMissingOperand},
    {"two values left over", "1E0100 1E0200", "", ReadErrorCode::FormulaValuesLeft},
    {"function wants more arguments than there are", "1E0100 22 05 0400", "",
     ReadErrorCode::FormulaArgumentCount},
    {"array constant without its values", "20 00000000000000", "01 0100",
     ReadErrorCode::FormulaArrayPastData},
    {"array constant larger than its data", "20 00000000000000", "FF FFFF 01",
     ReadErrorCode::FormulaArrayPastData},
    {"CHOOSE table cut short", "19 04 0500 0000", "", ReadErrorCode::BiffRecordShort},
};

class DecompileBroken : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(DecompileBroken, RaisesTheDamagedError) {
    const BrokenCase& c = GetParam();
    const XlsLinkTable links = MakeLinks();
    CodePage codePage;
    FormulaDecompiler decompiler(links, FormulaDecompiler::Version::Biff8, codePage);
    try {
        decompiler.Decompile(Hex(c.tokens), Hex(c.extra), 0, 0);
        FAIL() << c.what << ": no error";
    } catch (const ReadError& error) {
        EXPECT_EQ(error.Code(), c.code) << c.what << ": " << error.what();
        EXPECT_EQ(error.Kind(), EngineErrorKind::Damaged) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, DecompileBroken, ::testing::ValuesIn(Broken));

}  // namespace
}  // namespace engine
