// A sheet read in two halves at once must come out exactly as one pass reads it: same cells,
// same values, same formulas (shared formulas whose master and members fall on either side),
// and the same error for a broken later half.
#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/xlsx/WorksheetSplit.h"
#include "tests/engine/readers/BookDump.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace engine {
namespace {

std::string Worksheet(const std::string& rows, const std::string& prefix = "") {
    return "<?xml version=\"1.0\"?>\n<" + prefix + "worksheet xmlns" +
           (prefix.empty() ? "" : ":" + prefix.substr(0, prefix.size() - 1)) + "=\"urn:s\"><" +
           prefix + "dimension ref=\"A1:C9\"/><" + prefix + "sheetData>" + rows + "</" + prefix +
           "sheetData></" + prefix + "worksheet>";
}

// `count` rows of three cells: a number, a shared string, and a formula of `formula(row)`.
std::string Rows(int first, int count, const std::function<std::string(int)>& formula,
                 bool numbered = true, const std::string& prefix = "") {
    std::string out;
    for (int row = first; row < first + count; ++row) {
        const std::string r = std::to_string(row);
        out += "<" + prefix + "row" + (numbered ? " r=\"" + r + "\"" : "") + ">";
        out += "<" + prefix + "c" + (numbered ? " r=\"A" + r + "\"" : "") + " s=\"1\"><" + prefix +
               "v>" + r + ".5</" + prefix + "v></" + prefix + "c>";
        out += "<" + prefix + "c t=\"s\"><" + prefix + "v>" + std::to_string(row % 2) + "</" +
               prefix + "v></" + prefix + "c>";
        out += formula(row);
        out += "</" + prefix + "row>\n";
    }
    return out;
}

class WorksheetSplitTest : public testing::Test {
protected:
    // The sheet read in one pass or split into a fresh workbook, dumped.
    std::string Read(const std::string& xml, bool split) {
        books_.push_back(std::make_unique<Workbook>(QStringLiteral("t.xlsx"), nullptr));
        Workbook& book = *books_.back();
        book.AddString(QStringLiteral("zero"));  // a string of the workbook before the sheet's
        const std::vector<uint32_t> shared = {book.AddString(QStringLiteral("even")),
                                              book.AddString(QStringLiteral("odd"))};
        const std::vector<uint32_t> formats = {0, book.AddFormat(QStringLiteral("0.0"))};
        const WorksheetPart::Context context{shared, formats, false, xml.size()};
        engine::Worksheet sheet(QStringLiteral("Sheet1"));
        if (split) {
            joined_ = WorksheetSplit::Read(book, sheet, context, QStringLiteral("sheet1.xml"), xml);
        } else {
            WorksheetPart part(book, sheet, context, QStringLiteral("sheet1.xml"));
            part.Feed(xml);
            part.Finish();
        }
        sheet.Finish();
        return testbook::DumpSheet(book, sheet);
    }

    // `joined`: whether the halves should be read at once rather than one after the other
    // (unset where that depends on which thread is ahead).
    void ExpectSameAsOnePass(const std::string& xml, std::optional<bool> joined) {
        const std::string onePass = Read(xml, false);
        EXPECT_EQ(Read(xml, true), onePass);
        if (joined) {
            EXPECT_EQ(joined_, *joined);
        }
        EXPECT_GT(std::count(onePass.begin(), onePass.end(), '\n'), 10);
    }

private:
    std::vector<std::unique_ptr<Workbook>> books_;
    bool joined_ = false;
};

std::string Plain(int row) {
    const std::string r = std::to_string(row);
    return "<c r=\"C" + r + "\"><f>A" + r + "*2</f><v>" + std::to_string(row * 2 + 1) + "</v></c>";
}

std::string Shared(int row, int masterRow, int si) {
    const std::string r = std::to_string(row);
    const std::string f = row == masterRow ? "<f t=\"shared\" ref=\"C1:C40\" si=\"" +
                                                 std::to_string(si) + "\">A" + r + "+B" + r + "</f>"
                                           : "<f t=\"shared\" si=\"" + std::to_string(si) + "\"/>";
    return "<c r=\"C" + r + "\">" + f + "<v>1</v></c>";
}

TEST_F(WorksheetSplitTest, PlainRowsJoinInOrder) {
    ExpectSameAsOnePass(Worksheet(Rows(1, 40, Plain)), true);
}

TEST_F(WorksheetSplitTest, SharedFormulasWhoseMasterIsInTheFirstHalf) {
    ExpectSameAsOnePass(Worksheet(Rows(1, 40, [](int row) { return Shared(row, 3, 0); })), true);
}

TEST_F(WorksheetSplitTest, ALargeSheetIsReadByBothHalvesAtOnce) {
    // Large enough that the later half starts while the earlier one still reads.
    ExpectSameAsOnePass(Worksheet(Rows(1, 3000, [](int row) { return Shared(row, 1, 0); })), true);
}

TEST_F(WorksheetSplitTest, SharedFormulasWhoseMasterComesAfterItsMembers) {
    // Members in both halves wait for a master near the end; another group is defined anew
    // in the second half, so its members above the new master still follow the old one.
    ExpectSameAsOnePass(
        Worksheet(Rows(1, 40,
                       [](int row) {
                           return Shared(row, 38, 0) + "<c r=\"D" + std::to_string(row) + "\">" +
                                  (row == 1 || row == 30
                                       ? "<f t=\"shared\" si=\"1\">B" + std::to_string(row) +
                                             (row == 1 ? "*3</f>" : "*4</f>")
                                       : "<f t=\"shared\" si=\"1\"/>") +
                                  "<v>2</v></c>";
                       })),
        true);
}

TEST_F(WorksheetSplitTest, AGroupRedefinedInTheFirstHalfGivesTheLaterRowsTheLastMaster) {
    for (int redefinedAt : {4, 12, 19}) {
        ExpectSameAsOnePass(Worksheet(Rows(1, 40,
                                           [&](int row) {
                                               const std::string r = std::to_string(row);
                                               return "<c r=\"C" + r + "\">" +
                                                      (row == 2 || row == redefinedAt
                                                           ? "<f t=\"shared\" si=\"0\">A" + r +
                                                                 (row == 2 ? "+1" : "+2") + "</f>"
                                                           : "<f t=\"shared\" si=\"0\"/>") +
                                                      "<v>1</v></c>";
                                           })),
                            std::nullopt);
    }
}

TEST_F(WorksheetSplitTest, PrefixedElementsSplitToo) {
    ExpectSameAsOnePass(Worksheet(Rows(
                                      1, 40, [](int) { return std::string(); }, true, "x:"),
                                  "x:"),
                        true);
}

TEST_F(WorksheetSplitTest, LaterRowsWithoutNumbersAreReadInOrder) {
    ExpectSameAsOnePass(
        Worksheet(Rows(1, 10, Plain) + Rows(
                                           11, 30, [](int) { return std::string(); }, false)),
        false);
}

TEST_F(WorksheetSplitTest, AnArrayFormulaOverTheMiddleReachesTheLaterRows) {
    ExpectSameAsOnePass(
        Worksheet(Rows(1, 40,
                       [](int row) {
                           const std::string r = std::to_string(row);
                           return row == 2
                                      ? std::string(
                                            "<c r=\"C2\"><f t=\"array\" ref=\"C2:C39\">A2:A39*2</f>"
                                            "<v>1</v></c>")
                                      : "<c r=\"C" + r + "\"><v>1</v></c>";
                       })),
        false);
}

TEST_F(WorksheetSplitTest, AMiddleInsideACommentIsNotASplit) {
    // The comment's row lies just after the middle of the part; the real rows do not.
    const std::string later = Rows(21, 20, Plain);
    const std::string rows = Rows(1, 20, Plain) + "<!-- " + std::string(later.size() + 2000, 'x') +
                             " <row r=\"99\"><c><v>9</v></c></row> " + std::string(100, 'x') +
                             " -->" + later;
    ExpectSameAsOnePass(Worksheet(rows), false);
}

TEST_F(WorksheetSplitTest, ABrokenLaterHalfFailsAsOnePassDoes) {
    const std::string xml =
        Worksheet(Rows(1, 30, Plain) + "<row r=\"2000000\"><c><v>1</v></c></row>");
    for (bool split : {false, true}) {
        try {
            Read(xml, split);
            ADD_FAILURE() << "accepted, split " << split;
        } catch (const ReadError& error) {
            EXPECT_EQ(error.Code(), ReadErrorCode::RowOutsideSheet) << error.what();
        }
    }
}

}  // namespace
}  // namespace engine
