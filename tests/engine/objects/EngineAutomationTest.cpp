// The engine driven through the wrappers, exactly as the workbook search and the jump to a
// cell drive it: right hits in the right order with their texts, clean errors after Close
// and Quit, and the presenter calls of a visible application.
#include "automation/AutomationError.h"
#include "automation/AutomationRegistry.h"
#include "automation/Texcel.h"
#include "engine/model/EngineError.h"
#include "engine/model/Workbook.h"
#include "engine/objects/EngineServer.h"
#include "engine/objects/Presenter.h"
#include "engine/readers/BookOpener.h"
#include "tests/engine/objects/WrapperSearch.h"
#include "tests/support/ScratchFile.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <QStringEncoder>

#include <set>
#include <utility>

namespace {

using wrappersearch::Conditions;
using wrappersearch::Hit;
using wrappersearch::SearchBook;

QString WriteFile(const QString& name, const QByteArray& bytes) {
    return testsupport::WriteScratchFile(name, bytes);
}

const char16_t* const SalesCsv =
    u"品名,数量,備考\r\n"
    u"りんご,007,=1+2\r\n"
    u"\"ばなな, 黄色\",\"1,234\",\"改行\nあり\"\r\n"
    u"ﾘﾝｺﾞジュース,TRUE,2024/1/5\r\n";

class EngineAutomationTest : public testing::Test {
protected:
    void SetUp() override {
        engine::RegisterEngine(servers_);
        excel_ = TExcel::CreateObject(servers_);
        ASSERT_NE(excel_, nullptr);
    }
    void TearDown() override {
        if (excel_) {
            excel_->Quit();
        }
    }
    AutomationRegistry servers_;
    std::unique_ptr<TExcel> excel_;
};

TEST_F(EngineAutomationTest, SearchOverCp932CsvFindsHitsInOrderWithTheirTexts) {
    QStringEncoder cp932("windows-31j");
    const QString path = WriteFile(QStringLiteral("売上.csv"), cp932(QString::fromUtf16(SalesCsv)));

    // Hiragana never matches katakana; half-width katakana matches full-width unless the
    // widths are told apart.
    EXPECT_EQ(SearchBook(*excel_, path, {QStringLiteral("りんご")}),
              (std::vector<Hit>{{1, "売上", 1, 2, "りんご", "りんご", ""}}));

    EXPECT_EQ(SearchBook(*excel_, path, {QStringLiteral("リンゴ")}),
              (std::vector<Hit>{{1, "売上", 1, 4, "ﾘﾝｺﾞジュース", "ﾘﾝｺﾞジュース", ""}}));
    Conditions byteExact{QStringLiteral("リンゴ")};
    byteExact.matchByte = true;
    EXPECT_TRUE(SearchBook(*excel_, path, byteExact).empty());
}

TEST_F(EngineAutomationTest, EveryFilledCellComesInScanOrderWithTheTopLeftLast) {
    const QString path =
        WriteFile(QStringLiteral("sales.csv"), QString::fromUtf16(SalesCsv).toUtf8());
    Conditions values{QStringLiteral("*")};
    values.lookAt = 1;
    const std::vector<Hit> all = SearchBook(*excel_, path, values);
    // By rows, starting after A1, A1 last.
    std::vector<std::pair<int, int>> order;
    for (const Hit& h : all) {
        order.emplace_back(h.column, h.row);
    }
    EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{2, 1},
                                                       {3, 1},
                                                       {1, 2},
                                                       {2, 2},
                                                       {3, 2},
                                                       {1, 3},
                                                       {2, 3},
                                                       {3, 3},
                                                       {1, 4},
                                                       {2, 4},
                                                       {3, 4},
                                                       {1, 1}}));
    EXPECT_EQ(all[2].text, QStringLiteral("りんご"));
    EXPECT_EQ(all[4].text, QStringLiteral("3"));
    EXPECT_EQ(all[4].formula, QStringLiteral("=1+2"));
    EXPECT_EQ(all[7].text, QStringLiteral("改行\nあり"));

    Conditions byColumns = values;
    byColumns.searchOrder = 2;
    const std::vector<Hit> columnHits = SearchBook(*excel_, path, byColumns);
    ASSERT_EQ(columnHits.size(), 12u);
    EXPECT_EQ(std::pair(columnHits.front().column, columnHits.front().row), std::pair(1, 2));
    EXPECT_EQ(std::pair(columnHits[3].column, columnHits[3].row), std::pair(2, 1));
}

TEST_F(EngineAutomationTest, LookInDecidesWhatMatches) {
    const QString path =
        WriteFile(QStringLiteral("look.csv"), QString::fromUtf16(SalesCsv).toUtf8());
    Conditions formulas{QStringLiteral("=1")};
    formulas.lookIn = -4123;
    ASSERT_EQ(SearchBook(*excel_, path, formulas).size(), 1u);
    Conditions values{QStringLiteral("=1")};
    EXPECT_TRUE(SearchBook(*excel_, path, values).empty());
    Conditions date{QStringLiteral("2024/1/5")};
    date.lookIn = -4123;  // the edit bar shows the Japanese short date
    EXPECT_EQ(SearchBook(*excel_, path, date).size(), 1u);
    Conditions comments{QStringLiteral("*")};
    comments.lookIn = -4144;
    EXPECT_TRUE(SearchBook(*excel_, path, comments).empty());
}

TEST_F(EngineAutomationTest, EmptyCsvHasOneSheetWithUsedRangeA1AndNoHits) {
    const QString path = WriteFile(QStringLiteral("empty.csv"), QByteArray());
    Excel::TWorkbook book = excel_->Workbooks().Open(path);
    Excel::TWorksheets sheets = book.WorkSheets();
    ASSERT_EQ(sheets.Count(), 1);
    Excel::TRange used = sheets.Item(1).UsedRange();
    EXPECT_EQ(used.Column(), 1);
    EXPECT_EQ(used.Row(), 1);
    const Excel::TRange found =
        used.Find(QStringLiteral("*"), Variant::Missing(), -4163, 2, 1, 1, false, false);
    EXPECT_EQ(found.Value().Type(), VariantType::Int32);
    book.Close();
}

TEST_F(EngineAutomationTest, CellsAddressesRowThenColumnAndMembersIgnoreCase) {
    const QString path =
        WriteFile(QStringLiteral("cells.csv"), QString::fromUtf16(SalesCsv).toUtf8());
    Excel::TWorkbook book = excel_->Workbooks().Open(path);
    Excel::TRange cell = book.WorkSheets().Item(1).Cells(3, 2);  // C2
    EXPECT_EQ(cell.Column(), 3);
    EXPECT_EQ(cell.Row(), 2);
    EXPECT_EQ(cell.Formula(), QStringLiteral("=1+2"));
    EXPECT_TRUE(cell.Comment().Value().IsEmpty());

    const ObjectRef sheets = book.WorkSheets().Value().ToObject();
    EXPECT_EQ(sheets->Invoke(QStringLiteral("COUNT"), InvokeKind::PropertyGet, {}).ToInt(), 1);
    EXPECT_THROW(sheets->Invoke(QStringLiteral("Delete"), InvokeKind::Method, {}), AutomationError);
    EXPECT_THROW(book.WorkSheets().Item(0), AutomationError);
    EXPECT_THROW(book.WorkSheets().Item(2), AutomationError);
    EXPECT_THROW(book.WorkSheets().Item(1).Cells(0, 1), AutomationError);
    book.Close();
}

TEST_F(EngineAutomationTest, CallsAfterCloseOrQuitRaiseInsteadOfCrashing) {
    const QString path = WriteFile(QStringLiteral("closed.csv"), QByteArray("a,b\n"));
    Excel::TWorkbook book = excel_->Workbooks().Open(path);
    Excel::TWorksheet sheet = book.WorkSheets().Item(1);
    Excel::TRange used = sheet.UsedRange();
    book.Close();
    EXPECT_THROW(sheet.Name(), AutomationError);
    EXPECT_THROW(used.Find(QStringLiteral("a"), Variant::Missing(), -4163, 2, 1, 1, false, false),
                 AutomationError);
    EXPECT_THROW(book.Close(), AutomationError);

    Excel::TWorkbook other = excel_->Workbooks().Open(path);  // opens again after the close
    Excel::TRange cell = other.WorkSheets().Item(1).Cells(1, 1);
    excel_->Quit();
    EXPECT_THROW(cell.Text(), AutomationError);
    EXPECT_THROW(excel_->Workbooks(), AutomationError);
    EXPECT_THROW(excel_->Quit(), AutomationError);
    excel_.reset();
}

TEST_F(EngineAutomationTest, WorkbooksNamedForReadingAheadSearchAndFailAsWithout) {
    const QString first = WriteFile(QStringLiteral("ahead1.csv"), QByteArray("x,needle\n"));
    const QString broken = WriteFile(QStringLiteral("ahead.xlsx"), QByteArray("PK\x03\x04"));
    const QString last = WriteFile(QStringLiteral("ahead2.csv"), QByteArray("needle\n"));
    const ObjectRef workbooks = excel_->Workbooks().Value().ToObject();
    for (const QString& path : {first, broken, last}) {
        EXPECT_NO_THROW(
            workbooks->Invoke(QStringLiteral("ReadAhead"), InvokeKind::Method, {Variant(path)}));
    }
    EXPECT_EQ(SearchBook(*excel_, first, {QStringLiteral("needle")}),
              (std::vector<Hit>{{1, "ahead1", 2, 1, "needle", "needle", ""}}));
    QString brokenMessage;
    try {
        SearchBook(*excel_, broken, {QStringLiteral("needle")});
    } catch (const engine::EngineError& error) {
        brokenMessage = error.Message();
    }
    try {
        engine::OpenWorkbook(broken);
    } catch (const engine::EngineError& error) {
        EXPECT_EQ(brokenMessage, error.Message());
    }
    EXPECT_FALSE(brokenMessage.isEmpty());
    EXPECT_EQ(SearchBook(*excel_, last, {QStringLiteral("needle")}),
              (std::vector<Hit>{{1, "ahead2", 1, 1, "needle", "needle", ""}}));
}

TEST_F(EngineAutomationTest, OpenReportsMissingFileByName) {
    const QString path = testsupport::ScratchDir() + QStringLiteral("/無い.csv");
    try {
        excel_->Workbooks().Open(path);
        FAIL() << "opened a missing file";
    } catch (const engine::EngineError& e) {
        EXPECT_EQ(e.Kind(), engine::EngineErrorKind::FileNotFound);
        EXPECT_TRUE(e.Message().contains(QStringLiteral("無い.csv")));
    }
}

TEST_F(EngineAutomationTest, FindArgumentsOutsideTheEnumerationsRaise) {
    const QString path = WriteFile(QStringLiteral("args.csv"), QByteArray("a\n"));
    Excel::TWorkbook book = excel_->Workbooks().Open(path);
    Excel::TRange used = book.WorkSheets().Item(1).UsedRange();
    EXPECT_THROW(used.Find(QStringLiteral("a"), Variant::Missing(), 0, 2, 1, 1, false, false),
                 AutomationError);
    EXPECT_THROW(used.Find(QStringLiteral("a"), Variant::Missing(), -4163, 0, 1, 1, false, false),
                 AutomationError);
    EXPECT_THROW(used.Find(QStringLiteral("a"), Variant::Missing(), -4163, 2, 3, 1, false, false),
                 AutomationError);
    book.Close();
}

// Records what the engine asks of its visible face.
class RecordingPresenter : public engine::Presenter {
public:
    std::vector<QString> calls;
    bool open = true;
    std::shared_ptr<engine::Workbook> shown;
    void Show() override { calls.push_back(QStringLiteral("Show")); }
    void ShowWorkbook(std::shared_ptr<engine::Workbook> book) override {
        shown = std::move(book);
        calls.push_back(QStringLiteral("ShowWorkbook"));
    }
    void SelectSheet(const engine::Workbook&, int sheetIndex) override {
        calls.push_back(QStringLiteral("SelectSheet %1").arg(sheetIndex));
    }
    void SelectCell(const engine::Workbook&, int sheetIndex, int row, int column) override {
        calls.push_back(QStringLiteral("SelectCell %1 %2 %3").arg(sheetIndex).arg(row).arg(column));
    }
    void Raise() override { calls.push_back(QStringLiteral("Raise")); }
    bool IsOpen() const override { return open; }
};

class PresenterTest : public testing::Test {
protected:
    void SetUp() override { engine::RegisterEngine(servers_, &presenter_); }
    RecordingPresenter presenter_;
    AutomationRegistry servers_;
};

TEST_F(PresenterTest, JumpToCellShowsTheWorkbookAndSelectsSheetAndCell) {
    const QString path = WriteFile(QStringLiteral("jump.csv"), QByteArray("a,b\nc,d\n"));
    EXPECT_EQ(TExcel::GetActiveObject(servers_), nullptr);  // nothing visible yet
    {
        auto excel = TExcel::CreateObject(servers_);
        ASSERT_NE(excel, nullptr);
        excel->SetVisible(true);
        Excel::TWorksheet sheet = excel->Workbooks().Open(path).WorkSheets().Item(1);
        sheet.Activate();
        sheet.Cells(2, 2).Activate();
    }  // released without Quit: it keeps running
    EXPECT_EQ(presenter_.calls,
              (std::vector<QString>{"Show", "ShowWorkbook", "SelectSheet 0", "SelectCell 0 2 2"}));
    ASSERT_NE(presenter_.shown, nullptr);
    EXPECT_EQ(presenter_.shown->SheetName(0), QStringLiteral("jump"));

    auto attached = TExcel::GetActiveObject(servers_);
    ASSERT_NE(attached, nullptr);
    presenter_.open = false;
    EXPECT_EQ(TExcel::GetActiveObject(servers_), nullptr);
    presenter_.open = true;
    attached->Quit();
    EXPECT_EQ(TExcel::GetActiveObject(servers_), nullptr);
}

TEST_F(PresenterTest, HiddenApplicationShowsNothing) {
    const QString path = WriteFile(QStringLiteral("hidden.csv"), QByteArray("a\n"));
    auto excel = TExcel::CreateObject(servers_);
    ASSERT_NE(excel, nullptr);
    Excel::TWorksheet sheet = excel->Workbooks().Open(path).WorkSheets().Item(1);
    sheet.Activate();
    sheet.Cells(1, 1).Activate();
    EXPECT_TRUE(presenter_.calls.empty());
    EXPECT_EQ(TExcel::GetActiveObject(servers_), nullptr);
    excel->Quit();
}

TEST(EngineWithoutPresenter, VisibleIsAcceptedAndNothingCountsAsRunning) {
    AutomationRegistry servers;
    engine::RegisterEngine(servers);
    auto excel = TExcel::CreateObject(servers);
    ASSERT_NE(excel, nullptr);
    EXPECT_NO_THROW(excel->SetVisible(true));
    EXPECT_EQ(TExcel::GetActiveObject(servers), nullptr);
    excel->Quit();
}

}  // namespace
