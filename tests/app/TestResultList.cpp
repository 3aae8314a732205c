// The result list's model (batching, texts, alignment), reading a jump target back from a row,
// and the spreadsheet application's jump URL.
#include "app/CellJump.h"
#include "app/ResultListModel.h"
#include "app/SpreadsheetLauncher.h"
#include "storage/Exception.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

namespace {

ResultRow Row(const QString& book, const QString& sheet, const QString& column,
              const QString& row) {
    return ResultRow{book,
                     sheet,
                     QStringLiteral("Sheet"),
                     column,
                     row,
                     QStringLiteral("text"),
                     QStringLiteral("=A1"),
                     QString()};
}

}  // namespace

class TestResultList : public QObject {
    Q_OBJECT

private slots:
    void appendedRowsWaitForFlush() {
        ResultListModel model;
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        for (int i = 0; i < 1000; ++i) {
            model.AppendRow(Row(QStringLiteral("/a.xlsx"), QStringLiteral("1"), QStringLiteral("A"),
                                QString::number(i + 1)));
        }
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.PendingCount(), 1000);
        model.Flush();
        QCOMPARE(model.rowCount(), 1000);
        QCOMPARE(inserted.count(), 1);  // one refresh for the whole batch
        model.Flush();
        QCOMPARE(inserted.count(), 1);  // nothing pending, no signal
        // Rows stay in the order appended.
        QCOMPARE(model.RowAt(999).Row, QStringLiteral("1000"));
        QCOMPARE(model.index(0, 4).data().toString(), QStringLiteral("1"));
    }

    void pumpsShowRowsAtMostEveryInterval() {
        ResultListModel model;
        const ResultRow row = Row(QStringLiteral("/a.xlsx"), QStringLiteral("1"),
                                  QStringLiteral("A"), QStringLiteral("1"));
        model.AppendRow(row);
        model.FlushWhenDue();  // the first rows of a search show at once
        QCOMPARE(model.rowCount(), 1);
        QElapsedTimer clock;
        clock.start();
        model.AppendRow(row);
        model.FlushWhenDue();
        if (clock.elapsed() < ResultListModel::FlushInterval) {
            QCOMPARE(model.PendingCount(), 1);  // too soon after the last refresh
        }
        QTest::qWait(ResultListModel::FlushInterval + 20);
        model.FlushWhenDue();
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.PendingCount(), 0);
    }

    void clearDropsShownAndPendingRows() {
        ResultListModel model;
        model.AppendRow(Row(QStringLiteral("/a.xlsx"), QStringLiteral("1"), QStringLiteral("A"),
                            QStringLiteral("1")));
        model.Flush();
        model.AppendRow(Row(QStringLiteral("/b.xlsx"), QStringLiteral("1"), QStringLiteral("A"),
                            QStringLiteral("1")));
        model.Clear();
        model.Flush();
        QCOMPARE(model.rowCount(), 0);
    }

    void columnsShowTheRowTextsInOrder() {
        ResultListModel model;
        model.AppendRow(
            ResultRow{"/d/売上.xlsx", "3", "集計", "AB", "12", "1,234", "=SUM(A1:A3)", "メモ"});
        model.Flush();
        const QStringList expected = {"/d/売上.xlsx", "3",     "集計",        "AB",
                                      "12",           "1,234", "=SUM(A1:A3)", "メモ"};
        QCOMPARE(model.columnCount(), 8);
        for (int column = 0; column < 8; ++column) {
            QCOMPARE(model.index(0, column).data().toString(), expected.at(column));
        }
        QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("ブック名"));
        QCOMPARE(model.headerData(7, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("セルのコメント"));
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    }

    void numberColumnsAlignRight() {
        ResultListModel model;
        model.AppendRow(Row(QStringLiteral("/a.csv"), QStringLiteral("1"), QStringLiteral("A"),
                            QStringLiteral("1")));
        model.Flush();
        for (int column = 0; column < 8; ++column) {
            const auto alignment =
                model.index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
            const bool right = column == 1 || column == 4;  // sheet number and row
            QCOMPARE(bool(alignment & Qt::AlignRight), right);
        }
    }

    void jumpTargetFromRowTexts_data() {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("row");
        QTest::addColumn<int>("sheetNumber");
        QTest::addColumn<int>("columnNumber");
        QTest::addColumn<int>("rowNumber");
        QTest::newRow("AB12 of sheet 3") << "3"
                                         << "AB"
                                         << "12" << 3 << 28 << 12;
        QTest::newRow("lower-case letters") << "1"
                                            << "c"
                                            << "7" << 1 << 3 << 7;
        QTest::newRow("last column") << "2"
                                     << "XFD"
                                     << "1048576" << 2 << 16384 << 1048576;
        QTest::newRow("sheet not a number") << "x"
                                            << "A"
                                            << "5" << 1 << 1 << 5;
        QTest::newRow("row not a number") << "2"
                                          << "B"
                                          << "" << 2 << 2 << 1;
        QTest::newRow("letters that do not convert") << "1"
                                                     << "A1"
                                                     << "3" << 1 << 0 << 3;
        QTest::newRow("no letters") << "1"
                                    << ""
                                    << "3" << 1 << 0 << 3;
    }

    void jumpTargetFromRowTexts() {
        QFETCH(QString, sheet);
        QFETCH(QString, column);
        QFETCH(QString, row);
        const JumpTarget target =
            CellJump::Target(Row(QStringLiteral("/x/b.xls"), sheet, column, row));
        QCOMPARE(target.path, QStringLiteral("/x/b.xls"));
        QTEST(target.sheetNumber, "sheetNumber");
        QTEST(target.column, "columnNumber");
        QTEST(target.row, "rowNumber");
    }

    void jumpMarkQuotesTheSheetName_data() {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("mark");
        QTest::newRow("plain") << "Sheet3"
                               << "'Sheet3'.C7";
        QTest::newRow("blank and Japanese") << "売上 2024"
                                            << "'売上 2024'.C7";
        QTest::newRow("quote doubled") << "It's"
                                       << "'It''s'.C7";
        QTest::newRow("hash") << "#1"
                              << "'#1'.C7";
    }

    void jumpMarkQuotesTheSheetName() {
        QFETCH(QString, sheet);
        QTEST(SpreadsheetLauncher::JumpMark(sheet, QStringLiteral("C7")), "mark");
    }

    void jumpUrlSurvivesAwkwardFileNames() {
        const QString url = SpreadsheetLauncher::JumpUrl(
            QStringLiteral("/d/売上 #1 100%.xlsx"), QStringLiteral("It's"), QStringLiteral("D5"));
        QVERIFY(url.startsWith(QStringLiteral("file:///d/")));
        const QUrl parsed(url);
        QCOMPARE(parsed.toLocalFile(), QStringLiteral("/d/売上 #1 100%.xlsx"));
        QCOMPARE(parsed.fragment(), QStringLiteral("'It''s'.D5"));
    }

    void openingAMissingFileFails() {
        bool failed = false;
        try {
            SpreadsheetLauncher::Open(testsupport::ScratchDir() + QStringLiteral("/none.xlsx"),
                                      QStringLiteral("S"), QStringLiteral("A1"));
        } catch (const Exception& error) {
            failed = error.Message().contains(QStringLiteral("none.xlsx"));
        }
        QVERIFY(failed);
    }
};

SORVANE_QTEST_MAIN(TestResultList)
#include "TestResultList.moc"
