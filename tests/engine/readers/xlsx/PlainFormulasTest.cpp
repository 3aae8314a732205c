// Plain formulas are kept as the file's bytes and made into text only when read: each must
// still come back whole, as its own, in display form, and cut as a cell's text is.
#include "engine/model/CellText.h"
#include "engine/readers/xlsx/PlainFormulas.h"
#include "tests/engine/readers/xlsx/XlsxTestBook.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace engine {
namespace {

TEST(PlainFormulas, EntriesComeBackAsTheirOwnInDisplayForm) {
    PlainFormulas store;
    const std::string_view japanese = "\"売上\"&'月次 集計'!A1";
    const int32_t a = store.Append("_xlfn.CONCAT(A1,B1)");
    const int32_t b = store.Append(japanese);
    const int32_t c = store.Append("1+2");
    EXPECT_EQ(store.Render(c, 3), QStringLiteral("1+2"));
    EXPECT_EQ(store.Render(a, 19), QStringLiteral("CONCAT(A1,B1)"));
    EXPECT_EQ(store.Render(b, int32_t(japanese.size())),
              QString::fromUtf8(japanese.data(), qsizetype(japanese.size())));
    EXPECT_EQ(store.HeldBytes(b, 7), 7u);
}

TEST(PlainFormulas, AStoreRefusesWhatItsOffsetsCannotAddress) {
    PlainFormulas store;
    constexpr size_t limit = std::numeric_limits<int32_t>::max();
    EXPECT_TRUE(store.HasRoomFor(limit));
    EXPECT_FALSE(store.HasRoomFor(limit + 1));
    store.Append("x");
    EXPECT_FALSE(store.HasRoomFor(limit));
    EXPECT_TRUE(store.HasRoomFor(limit - 1));
}

TEST(PlainFormulas, ASheetOfThemReadsBackRowByRowAndLongOnesAreCut) {
    QByteArray rows;
    for (int row = 1; row <= 300; ++row) {
        rows += QStringLiteral(
                    "<row r=\"%1\"><c r=\"A%1\"><f>B%1*%1</f><v>0</v></c>"
                    "<c r=\"B%1\"><f>_xlfn.IFS(C%1,\"是\")</f><v>0</v></c></row>")
                    .arg(row)
                    .toUtf8();
    }
    const QByteArray longFormula = "\"" + QByteArray(MaxTextLength + 10, 'y') + "\"";
    rows += "<row r=\"301\"><c r=\"A301\"><f>" + longFormula + "</f><v>0</v></c></row>";
    const auto book =
        testpackage::Open(QStringLiteral("plain.xlsx"), testpackage::Workbook(rows.toStdString()));
    Worksheet& sheet = book->Sheet(0);
    for (int row = 1; row <= 300; ++row) {
        ASSERT_EQ(book->String(sheet.FindCell(row, 1)->formula), QStringLiteral("B%1*%1").arg(row));
        ASSERT_EQ(book->String(sheet.FindCell(row, 2)->formula),
                  QStringLiteral("IFS(C%1,\"是\")").arg(row));
    }
    const QString cut = book->String(sheet.FindCell(301, 1)->formula);
    EXPECT_EQ(cut.size(), MaxTextLength);
    EXPECT_TRUE(cut.startsWith(u"\"yyy"));
}

}  // namespace
}  // namespace engine
