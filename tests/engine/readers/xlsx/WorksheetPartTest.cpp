// A worksheet part arrives in chunks of whatever size inflating yields: every cell shape must
// read the same however its bytes are cut, including a cut inside a value or a formula that
// the fast path for simple cells had already read.
#include "engine/model/Workbook.h"
#include "engine/readers/xlsx/WorksheetPart.h"
#include "tests/engine/readers/BookDump.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

const std::string Sheet =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<worksheet xmlns=\"urn:s\"><dimension ref=\"A1:F6\"/><sheetData>"
    "<row r=\"1\"><c r=\"A1\"><v>12.5</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
    "<c r=\"C1\"><f>A1*2</f><v>25</v></c><c r=\"D1\" t=\"str\"><f>\"a\"&amp;\"b\"</f>"
    "<v>a&amp;b</v></c><c r=\"E1\" t=\"b\"><v>1</v></c><c r=\"F1\" t=\"e\"><v>#N/A</v></c></row>"
    "<row r=\"2\"><c r=\"A2\"><f t=\"shared\" ref=\"A2:A4\" si=\"0\">B1+1</f><v>2</v></c>"
    "<c r=\"B2\" t=\"inlineStr\"><is><t>行\r\n二</t></is></c><c r=\"C2\" s=\"1\"/>"
    "<c s=\"1\" r=\"D2\" t=\"str\"><f>C1</f></c><c r=\"E2\"><f>1/0</f><v>#DIV/0!</v></c>"
    "<c r=\"F2\"><f t=\"dataTable\" ref=\"F2:F3\" dt2D=\"1\" r1=\"A1\" "
    "r2=\"B1\"/><v>0</v></c></row>"
    "<row r=\"3\"><c r=\"A3\"><f t=\"shared\" si=\"0\"/><v>3</v></c>"
    "<c r=\"B3\"><v>  7</v></c><c r=\"C3\" t=\"str\"><v>x\r\ny</v></c></row>"
    "<row r=\"4\"><c r=\"A4\"><f t=\"shared\" si=\"0\"/><v>4</v></c>"
    "<c r=\"B4\" t=\"d\"><v>2024-01-05T12:00:00</v></c><c r=\"C4\"><f>SUM(A1:A3)</f></c></row>"
    "</sheetData></worksheet>";

std::string ReadInChunks(size_t chunk, const std::string& document = Sheet) {
    Workbook book(QStringLiteral("t.xlsx"), nullptr);
    const std::vector<uint32_t> shared = {book.AddString(QStringLiteral("zero")),
                                          book.AddString(QStringLiteral("one"))};
    const std::vector<uint32_t> formats = {0, book.AddFormat(QStringLiteral("0.0"))};
    const WorksheetPart::Context context{shared, formats, false, document.size()};
    engine::Worksheet sheet(QStringLiteral("Sheet1"));
    WorksheetPart part(book, sheet, context, QStringLiteral("sheet1.xml"));
    for (size_t at = 0; at < document.size(); at += chunk) {
        part.Feed(std::string_view(document).substr(at, chunk));
    }
    part.Finish();
    sheet.Finish();
    return testbook::DumpSheet(book, sheet);
}

TEST(WorksheetPartChunks, EveryCutReadsAsTheWholePart) {
    const std::string whole = ReadInChunks(Sheet.size());
    EXPECT_NE(whole.find("' =\"a\"&\"b\""), std::string::npos) << whole;
    EXPECT_NE(whole.find("'x\ny' ="), std::string::npos) << whole;
    EXPECT_NE(whole.find("3,1 t1 f0 n3 '' =B2+1"), std::string::npos) << whole;
    EXPECT_NE(whole.find("=TABLE(A1,B1)"), std::string::npos) << whole;
    for (size_t chunk : {1, 2, 3, 5, 7, 13, 64}) {
        EXPECT_EQ(ReadInChunks(chunk), whole) << "chunks of " << chunk;
    }
}

// Rows, cells and formulas of the plainest shape are read without a token: written so that
// every tag needs the token loop, the sheet must read the same.
TEST(WorksheetPartChunks, PlainAndOtherTagsReadTheSame) {
    std::string tokens = Sheet;
    for (const std::string tag : {"<row ", "<c ", "<f "}) {
        std::string spaced = tag;
        spaced.back() = '\t';
        for (size_t at = 0; (at = tokens.find(tag, at)) != std::string::npos;) {
            tokens.replace(at, tag.size(), spaced);
        }
    }
    ASSERT_EQ(tokens.find("<c "), std::string::npos);
    const std::string whole = ReadInChunks(Sheet.size());
    for (size_t chunk : {size_t{3}, tokens.size()}) {
        EXPECT_EQ(ReadInChunks(chunk, tokens), whole) << "chunks of " << chunk;
    }
}

}  // namespace
}  // namespace engine
