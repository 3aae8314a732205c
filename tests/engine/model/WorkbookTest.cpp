// The workbook model's guarantees to every reader: texts are cut to what a cell holds, and
// running out of memory while a sheet is read becomes that book's "too large" error.
#include "engine/model/CellText.h"
#include "engine/model/EngineError.h"
#include "engine/model/ReadError.h"
#include "tests/engine/model/MemoryBook.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>

namespace {

using engine::MaxTextLength;

TEST(Workbook, TextsAreCutToACellsLengthNeverInsideAPair) {
    const QString pair = QStringLiteral("\U0001F600");
    const QString exact(MaxTextLength, u'a');
    const QString splitPair = QString(MaxTextLength - 1, u'b') + pair;
    auto book = testbook::Make({[&](engine::Workbook& b, engine::Worksheet& sheet) {
        sheet.AddNote({1, 1, QString(100000, u'n')});
        b.AddStrings({QString(MaxTextLength + 1, u'c'), splitPair});
    }});
    const uint32_t long1 = book->AddString(QString(5'000'000, u'x'));
    const uint32_t same = book->AddString(exact);
    book->Sheet(0);
    EXPECT_EQ(book->String(long1), QString(MaxTextLength, u'x'));
    EXPECT_EQ(book->String(same), exact);
    EXPECT_EQ(book->String(same + 1), QString(MaxTextLength, u'c'));
    EXPECT_EQ(book->String(same + 2), QString(MaxTextLength - 1, u'b'));
    EXPECT_EQ(book->Sheet(0).Notes().front().text.size(), MaxTextLength);
}

TEST(Workbook, RunningOutOfMemoryInASheetIsTheBooksTooLargeError) {
    auto book =
        testbook::Make({[](engine::Workbook&, engine::Worksheet&) { throw std::bad_alloc(); }});
    try {
        book->Sheet(0);
        FAIL() << "no error";
    } catch (const engine::EngineError& error) {
        EXPECT_EQ(error.Code(), engine::ReadErrorCode::OutOfMemory);
        EXPECT_EQ(error.Kind(), engine::EngineErrorKind::TooLarge);
        EXPECT_TRUE(error.Message().contains(QStringLiteral("memory.xlsx")));
    }
}

}  // namespace

// Reading ahead budgets on this figure: it must grow with what the model really holds.
TEST(Workbook, MemoryBytesCountsTheCellsAndTextsReadSoFar) {
    auto book = testbook::Make({[](engine::Workbook& b, engine::Worksheet& sheet) {
        std::vector<engine::Cell> cells(100000);
        for (size_t i = 0; i < cells.size(); ++i) {
            cells[i].row = int32_t(i) + 1;
            cells[i].column = 1;
        }
        sheet.AddCells(std::move(cells));
        sheet.AddNote({1, 1, QString(1000, u'n')});
        b.AddString(QString(20000, u's'));
    }});
    const size_t unread = book->MemoryBytes();
    book->Sheet(0);
    EXPECT_GE(book->MemoryBytes() - unread, 100000 * sizeof(engine::Cell) + 2 * 21000);
}

namespace {

// Counts its renderings, so a test can tell when the pool makes the text.
class CountingText : public engine::DeferredText {
public:
    QString Render(int32_t first, int32_t second) const override {
        ++renders;
        return first < 0 ? QString(engine::MaxTextLength + 5, u'z')
                         : QStringLiteral("A%1+B%2").arg(first).arg(second);
    }
    mutable int renders = 0;
};

TEST(Workbook, DeferredStringsAreMadeOnceWhenFirstReadAndCut) {
    engine::Workbook book(QStringLiteral("deferred.xlsx"), nullptr);
    const auto source = std::make_shared<CountingText>();
    const uint32_t first = book.AddStrings({QStringLiteral("plain"), QString(), QString()});
    book.DeferString(first + 2, source, -1, 0);  // out of order: found all the same
    book.DeferString(first + 1, source, 3, 4);
    EXPECT_EQ(source->renders, 0);
    EXPECT_EQ(book.String(first), QStringLiteral("plain"));
    EXPECT_EQ(book.String(first + 1), QStringLiteral("A3+B4"));
    EXPECT_EQ(book.String(first + 1), QStringLiteral("A3+B4"));
    EXPECT_EQ(source->renders, 1);
    EXPECT_EQ(book.String(first + 2).size(), engine::MaxTextLength);
    EXPECT_EQ(source->renders, 2);
}

}  // namespace
