// Workbooks written by an independent writer (libxlsxwriter) and read back: sheet order
// with hidden sheets, shared and inline strings, number formats, formulas with their cached
// results, array formulas and comments.
#include "engine/model/CellText.h"
#include "engine/model/Workbook.h"
#include "engine/readers/xlsx/XlsxReader.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <array>
#include <memory>
#include <vector>

namespace engine {
namespace {

std::unique_ptr<Workbook> Read(const QString& path) {
    auto reader = std::make_unique<XlsxReader>(path);
    XlsxReader& raw = *reader;
    auto book = std::make_unique<Workbook>(path, std::move(reader));
    raw.ReadWorkbook(*book);
    return book;
}

struct Written {
    const char* name;
    bool constantMemory;  // libxlsxwriter then writes inline strings
};

class WrittenWorkbook : public testing::TestWithParam<Written> {
protected:
    QString Write() {
        const QString path =
            testsupport::ScratchDir() + u'/' + QString::fromLatin1(GetParam().name);
        lxw_workbook_options options = {};
        options.constant_memory = GetParam().constantMemory ? LXW_TRUE : LXW_FALSE;
        lxw_workbook* workbook = workbook_new_opt(path.toUtf8().constData(), &options);
        lxw_format* money = workbook_add_format(workbook);
        format_set_num_format(money, "#,##0.00");
        lxw_format* date = workbook_add_format(workbook);
        format_set_num_format_index(date, 14);
        lxw_format* era = workbook_add_format(workbook);
        format_set_num_format(era, "[$-411]ggge\"年\"m\"月\"d\"日\"");

        lxw_worksheet* data = workbook_add_worksheet(workbook, "データ");
        worksheet_write_string(data, 0, 0, "共通の語", nullptr);
        worksheet_write_number(data, 0, 1, 1234.5, money);
        worksheet_write_number(data, 0, 2, 45296, date);
        worksheet_write_number(data, 0, 3, 45296, era);
        worksheet_write_boolean(data, 0, 4, 1, nullptr);
        worksheet_write_formula_num(data, 1, 0, "=SUM(B1:C1)", nullptr, 46530.5);
        worksheet_write_formula_str(data, 1, 1, "=A1&\"!\"", nullptr, "共通の語!");
        worksheet_write_array_formula_num(data, 2, 0, 3, 0, "{=B1:B2*2}", nullptr, 2469);
        if (!GetParam().constantMemory) {
            worksheet_write_comment(data, 0, 1, "Yamada:\n確認してください");
        }
        lxw_worksheet* hidden = workbook_add_worksheet(workbook, "Hidden");
        worksheet_write_string(hidden, 4, 2, "hidden text", nullptr);
        worksheet_hide(hidden);
        workbook_add_worksheet(workbook, "Empty");
        EXPECT_EQ(workbook_close(workbook), LXW_NO_ERROR);
        return path;
    }
};

TEST_P(WrittenWorkbook, ReadsBackWhatWasWritten) {
    const auto book = Read(Write());
    ASSERT_EQ(book->SheetCount(), 3);
    EXPECT_EQ(book->SheetName(0), u"データ");
    EXPECT_EQ(book->SheetName(1), u"Hidden");
    EXPECT_EQ(book->SheetName(2), u"Empty");

    Worksheet& data = book->Sheet(0);
    const auto text = [&](int row, int column) {
        const Cell* cell = data.FindCell(row, column);
        return cell ? CellText::Text(*book, *cell) : QStringLiteral("<none>");
    };
    const auto formula = [&](int row, int column) {
        const Cell* cell = data.FindCell(row, column);
        return cell ? CellText::Formula(*book, *cell) : QStringLiteral("<none>");
    };
    EXPECT_EQ(text(1, 1), u"共通の語");
    EXPECT_EQ(text(1, 2), u"1,234.50");
    EXPECT_EQ(text(1, 3), u"2024/1/5");
    EXPECT_EQ(text(1, 4), u"令和6年1月5日");
    EXPECT_EQ(text(1, 5), u"TRUE");
    EXPECT_EQ(text(2, 1), u"46530.5");
    EXPECT_EQ(formula(2, 1), u"=SUM(B1:C1)");
    EXPECT_EQ(text(2, 2), u"共通の語!");
    EXPECT_EQ(formula(2, 2), u"=A1&\"!\"");
    EXPECT_EQ(formula(3, 1), u"=B1:B2*2");
    if (!GetParam().constantMemory) {
        // Every cell of a legacy array shows its formula (this writer leaves the other cells
        // out in constant-memory mode, and a cell that is not stored has no formula).
        EXPECT_EQ(formula(4, 1), u"=B1:B2*2");
    }
    if (!GetParam().constantMemory) {
        ASSERT_NE(data.FindNote(1, 2), nullptr);
        EXPECT_EQ(*data.FindNote(1, 2), u"Yamada:\n確認してください");
    }
    const Cell* hiddenCell = book->Sheet(1).FindCell(5, 3);
    ASSERT_NE(hiddenCell, nullptr);
    EXPECT_EQ(CellText::Text(*book, *hiddenCell), u"hidden text");
    EXPECT_TRUE(book->Sheet(2).Cells().empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, WrittenWorkbook,
                         testing::Values(Written{"shared-strings.xlsx", false},
                                         Written{"inline-strings.xlsx", true}),
                         [](const testing::TestParamInfo<Written>& info) {
                             return info.param.constantMemory ? std::string("InlineStrings")
                                                              : std::string("SharedStrings");
                         });

// Rows a filter hides (libxlsxwriter leaves the hiding to the writer), a hidden column, and
// rows and columns formatted as a whole, which widen the used range.
TEST(WrittenLayout, ReadsHiddenRowsColumnsTheFilterAndFormattedRanges) {
    const QString path = testsupport::ScratchDir() + QStringLiteral("/layout.xlsx");
    lxw_workbook* workbook = workbook_new(path.toUtf8().constData());
    lxw_format* bold = workbook_add_format(workbook);
    format_set_bold(bold);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Filtered");
    for (int row = 0; row < 5; ++row) {
        worksheet_write_string(sheet, lxw_row_t(row), 0, row == 0 ? "項目" : "値", nullptr);
    }
    worksheet_autofilter(sheet, 0, 0, 4, 1);
    lxw_row_col_options hidden = {};
    hidden.hidden = LXW_TRUE;
    worksheet_set_row_opt(sheet, 2, LXW_DEF_ROW_HEIGHT, nullptr, &hidden);
    worksheet_set_row_opt(sheet, 3, LXW_DEF_ROW_HEIGHT, nullptr, &hidden);
    worksheet_set_column_opt(sheet, 1, 1, LXW_DEF_COL_WIDTH, nullptr, &hidden);
    lxw_worksheet* formatted = workbook_add_worksheet(workbook, "Formatted");
    worksheet_write_string(formatted, 2, 2, "x", nullptr);
    worksheet_set_row(formatted, 9, LXW_DEF_ROW_HEIGHT, bold);
    worksheet_set_column(formatted, 5, 6, LXW_DEF_COL_WIDTH, bold);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

    auto book = Read(path);
    const Worksheet& filtered = book->Sheet(0);
    std::vector<int32_t> hiddenRows;
    std::vector<int32_t> filteredOut;
    for (int32_t row = 1; row <= 6; ++row) {
        if (filtered.IsRowHidden(row)) {
            hiddenRows.push_back(row);
        }
        if (filtered.IsFilteredOut(row)) {
            filteredOut.push_back(row);
        }
    }
    EXPECT_EQ(hiddenRows, (std::vector<int32_t>{3, 4}));
    EXPECT_EQ(filteredOut, (std::vector<int32_t>{3, 4}));
    EXPECT_TRUE(filtered.IsColumnHidden(2));
    EXPECT_FALSE(filtered.IsColumnHidden(1));
    const CellRect& used = book->Sheet(1).UsedRange();
    EXPECT_EQ((std::array{used.top, used.left, used.bottom, used.right}),
              (std::array{3, 3, 10, 7}));
}

}  // namespace
}  // namespace engine
