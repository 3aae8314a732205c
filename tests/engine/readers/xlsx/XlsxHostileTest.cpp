// Broken, lying and oversized packages: each is refused with the engine's error of the right
// kind (and a message naming the file), or read with a sane fallback; none crashes, hangs or
// allocates what it claims.
#include "engine/model/CellText.h"
#include "engine/model/EngineError.h"
#include "tests/engine/readers/xlsx/XlsxTestBook.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <functional>

namespace engine {
namespace {

using testpackage::Members;

std::string Row(const std::string& cells) {
    return "<row r=\"1\">" + cells + "</row>";
}

QByteArray ValidZip() {
    return testpackage::Zip(testpackage::Workbook(Row("<c r=\"A1\"><v>1</v></c>")));
}

struct HostileCase {
    const char* name;
    std::function<QByteArray()> bytes;
    ReadErrorCode code;
};

class HostilePackage : public testing::TestWithParam<HostileCase> {};

TEST_P(HostilePackage, IsRefusedWithTheRightError) {
    const HostileCase& c = GetParam();
    const QString fileName = QString::fromLatin1(c.name) + QStringLiteral(".xlsx");
    try {
        const auto book = testpackage::OpenBytes(fileName, c.bytes());
        for (int i = 0; i < book->SheetCount(); ++i) {
            book->Sheet(i);
        }
        FAIL() << "no error";
    } catch (const EngineError& error) {
        EXPECT_EQ(error.Code(), c.code) << error.Detail().toStdString();
        EXPECT_TRUE(error.Message().contains(fileName)) << error.Message().toStdString();
    }
}

QByteArray WithSheet(const std::string& sheetData, const std::string& sharedStrings = {}) {
    return testpackage::Zip(testpackage::Workbook(sheetData, sharedStrings));
}

QByteArray Nested(int depth) {
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += "<x>";
        close += "</x>";
    }
    return WithSheet(Row("<c r=\"A1\"><is>" + open + close + "</is></c>"));
}

QByteArray Bomb() {
    // 80 MiB of spaces deflate to about 80 KiB: far beyond any worksheet's ratio.
    Members members = testpackage::Workbook("");
    for (auto& [name, data] : members) {
        if (name == "xl/worksheets/sheet1.xml") {
            data = testpackage::Sheet(std::string(80u << 20, ' '));
        }
    }
    return testpackage::Zip(members);
}

INSTANTIATE_TEST_SUITE_P(
    Containers, HostilePackage,
    testing::Values(
        HostileCase{"garbage", [] { return QByteArray("PK\x03\x04 this is no archive at all"); },
                    ReadErrorCode::ZipNoEndRecord},
        HostileCase{"truncated", [] { return ValidZip().left(ValidZip().size() / 2); },
                    ReadErrorCode::ZipNoEndRecord},
        HostileCase{"directory_past_end",
                    [] {
                        QByteArray zip = ValidZip();
                        zip[zip.size() - 6] = '\x7F';  // central directory offset, high byte
                        return zip;
                    },
                    ReadErrorCode::ZipRangePastEnd},
        HostileCase{"directory_count_lies",
                    [] {
                        QByteArray zip = ValidZip();
                        zip[zip.size() - 12] = '\x40';  // total entries
                        return zip;
                    },
                    ReadErrorCode::ZipBadDirectoryEntry},
        HostileCase{"crc_mismatch",
                    [] {
                        Members members = testpackage::Workbook(Row("<c r=\"A1\"><v>1</v></c>"));
                        QByteArray zip = testpackage::Zip(members, true);
                        const qsizetype at = zip.indexOf("<v>1</v>");
                        zip[at + 3] = '2';
                        return zip;
                    },
                    ReadErrorCode::ZipCrcMismatch},
        HostileCase{"invalid_deflate_block",
                    [] {
                        QByteArray zip = ValidZip();
                        // The sheet's data follows its name in the local header; 0xFF starts
                        // a block of the reserved type.
                        const QByteArray name("xl/worksheets/sheet1.xml");
                        zip[zip.indexOf(name) + name.size()] = '\xFF';
                        return zip;
                    },
                    ReadErrorCode::ZipInflateFailed},
        HostileCase{"no_workbook_part",
                    [] {
                        Members members = testpackage::Workbook("");
                        std::erase_if(members,
                                      [](const auto& m) { return m.first == "xl/workbook.xml"; });
                        return testpackage::Zip(members);
                    },
                    ReadErrorCode::NoWorkbookPart},
        HostileCase{"no_package_relationships",
                    [] {
                        Members members = testpackage::Workbook("");
                        std::erase_if(members,
                                      [](const auto& m) { return m.first == "_rels/.rels"; });
                        return testpackage::Zip(members);
                    },
                    ReadErrorCode::NoWorkbookPart},
        HostileCase{"zip_bomb", Bomb, ReadErrorCode::ZipInflatesTooLarge},
        HostileCase{"binary_workbook",
                    [] {
                        return testpackage::Zip(
                            {{"_rels/.rels", testpackage::Relationships(testpackage::Relationship(
                                                 "r", "officeDocument", "xl/workbook.bin"))},
                             {"xl/workbook.bin", std::string("\x83\x01\x00", 3)}});
                    },
                    ReadErrorCode::NotSpreadsheetMl},
        HostileCase{"open_document",
                    [] {
                        return testpackage::Zip(
                            {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                             {"content.xml", "<office:document-content/>"}},
                            true);
                    },
                    ReadErrorCode::NotSpreadsheetMl}));

INSTANTIATE_TEST_SUITE_P(
    Parts, HostilePackage,
    testing::Values(
        HostileCase{"deep_xml", [] { return Nested(10000); }, ReadErrorCode::XmlNestedTooDeeply},
        HostileCase{
            "entity_expansion",
            [] {
                Members members = testpackage::Workbook("");
                members[2].second =
                    "<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\">"
                    "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]><worksheet>&b;</worksheet>";
                return testpackage::Zip(members);
            },
            ReadErrorCode::XmlDoctype},
        HostileCase{"malformed_xml", [] { return WithSheet("<row><c r=\"A1\"><v>1</c></row>"); },
                    ReadErrorCode::XmlEndTagMismatch},
        HostileCase{"column_beyond_sheet",
                    [] { return WithSheet(Row("<c r=\"XFE1\"><v>1</v></c>")); },
                    ReadErrorCode::CellOutsideSheet},
        HostileCase{"row_beyond_sheet",
                    [] { return WithSheet("<row r=\"1048577\"><c><v>1</v></c></row>"); },
                    ReadErrorCode::RowOutsideSheet},
        HostileCase{"shared_string_out_of_range",
                    [] {
                        return WithSheet(Row("<c r=\"A1\" t=\"s\"><v>1</v></c>"),
                                         "<si><t>only</t></si>");
                    },
                    ReadErrorCode::SharedStringMissing}));

TEST(XlsxFallbacks, AHugeDeclaredDimensionReservesNothingItCannotHold) {
    Members members = testpackage::Workbook("");
    members[2].second =
        testpackage::Sheet(Row("<c r=\"B2\"><v>7</v></c>"), "<dimension ref=\"A1:XFD1048576\"/>");
    const auto book = testpackage::Open(QStringLiteral("dimension.xlsx"), members);
    const Worksheet& sheet = book->Sheet(0);
    EXPECT_EQ(sheet.Cells().size(), 1u);
    EXPECT_LT(sheet.Cells().capacity(), 1000u);
    EXPECT_EQ(sheet.UsedRange().bottom, 2);  // the file's claim is not the used range
    EXPECT_EQ(sheet.UsedRange().right, 2);
}

TEST(XlsxFallbacks, PartsTheRelationshipsNameButThePackageLacksAreEmpty) {
    Members members = testpackage::Workbook(Row("<c r=\"A1\" s=\"1\"><v>2.5</v></c>"),
                                            "<si><t>unused</t></si>", "<cellXfs/>");
    std::erase_if(members, [](const auto& member) {
        return member.first == "xl/sharedStrings.xml" || member.first == "xl/styles.xml";
    });
    members.push_back({"xl/worksheets/_rels/sheet1.xml.rels",
                       testpackage::Relationships(
                           testpackage::Relationship("c1", "comments", "../comments1.xml"))});
    const auto book = testpackage::Open(QStringLiteral("lacking.xlsx"), members);
    EXPECT_EQ(CellText::Text(*book, *book->Sheet(0).FindCell(1, 1)), u"2.5");
    EXPECT_TRUE(book->Sheet(0).Notes().empty());
}

// A 1.3 KB package can hold a string of many megabytes; what a cell holds is kept, and the
// reading stops gathering there.
TEST(XlsxFallbacks, TextsLongerThanACellHoldsAreCut) {
    const std::string huge(3'000'000, 'z');
    const auto book =
        testpackage::Open(QStringLiteral("longtext.xlsx"),
                          testpackage::Workbook(Row("<c r=\"A1\" t=\"s\"><v>0</v></c>"
                                                    "<c r=\"B1\" t=\"inlineStr\"><is><t>" +
                                                    huge +
                                                    "</t></is></c>"
                                                    "<c r=\"C1\" t=\"str\"><f>A1</f><v>" +
                                                    huge + "</v></c>"),
                                                "<si><t>" + huge + "</t></si>"));
    for (int column = 1; column <= 3; ++column) {
        EXPECT_EQ(CellText::Text(*book, *book->Sheet(0).FindCell(1, column)),
                  QString(MaxTextLength, u'z'))
            << column;
    }
}

TEST(XlsxFallbacks, AnOverlongFormatCodeShowsGeneral) {
    const std::string code(10000, '0');
    const auto book = testpackage::Open(
        QStringLiteral("longcode.xlsx"),
        testpackage::Workbook(
            Row("<c r=\"A1\" s=\"1\"><v>2.5</v></c>"), {},
            "<numFmts><numFmt numFmtId=\"164\" formatCode=\"" + code +
                "\"/></numFmts><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/></cellXfs>"));
    EXPECT_EQ(CellText::Text(*book, *book->Sheet(0).FindCell(1, 1)), u"2.5");
}

TEST(XlsxFallbacks, AMissingFileIsReportedAsSuch) {
    const QString path = testsupport::ScratchDir() + QStringLiteral("/absent.xlsx");
    try {
        engine::OpenWith<engine::XlsxReader>(path);
        FAIL() << "no error";
    } catch (const EngineError& error) {
        EXPECT_EQ(error.Code(), ReadErrorCode::FileNotFound);
        EXPECT_EQ(
            error.Message(),
            QStringLiteral("ファイル「%1」が見つかりません。").arg(QDir::toNativeSeparators(path)));
    }
}

}  // namespace
}  // namespace engine
