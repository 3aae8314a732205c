// A search through the main window: input warnings, a whole run, cancel and other commands from
// inside the run's message pumps, and the jump from a result row to the viewer.
#include "FormTestSupport.h"
#include "app/ResultListModel.h"
#include "app/Tcursorhourglass.h"
#include "app/Tformmain.h"
#include "app/WorkbookViewer.h"
#include "dialogs/HelpViewer.h"
#include "dialogs/HelpWindow.h"
#include "engine/model/Workbook.h"
#include "search/index/CellIndex.h"
#include "tests/engine/readers/xls/CompoundFileBuilder.h"
#include "tests/engine/readers/xlsx/TestPackage.h"
#include "tests/support/RealManifest.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <stdexcept>

namespace {

const QString kFinished = QStringLiteral("検索処理は終了しました。");

// Three csv workbooks with "apple" in them, one in a sub-folder.
QString MakeFruitFolder() {
    const QString dir = formtest::FreshFolder(QStringLiteral("fruit"));
    formtest::WriteFile(dir + QStringLiteral("/a.csv"), "apple,banana\ncherry,apple pie\n");
    formtest::WriteFile(dir + QStringLiteral("/b.csv"), "pear,APPLE\n");
    formtest::WriteFile(dir + QStringLiteral("/c.csv"), "plum\n");
    formtest::WriteFile(dir + QStringLiteral("/sub/d.csv"), "crab apple\n");
    return dir;
}

// A shown window whose first-idle step (new project) has run.
void StartWindow(TFormMain& form) {
    form.show();
    QTRY_COMPARE(form.statusBar()->currentMessage(), QStringLiteral("新規に作成しました。"));
}

template <typename T>
T* Child(TFormMain& form, const char* name) {
    T* child = form.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) {
        qFatal("no child %s", name);
    }
    return child;
}

void SetConditions(TFormMain& form, const QString& dir, const QString& word) {
    Child<QLineEdit>(form, "EditFolder")->setText(dir);
    Child<QLineEdit>(form, "EditWord")->setText(word);
}

void Search(TFormMain& form) {
    Child<QAction>(form, "ActionBookSearchStart")->trigger();
}

QStringList BookNames(TFormMain& form) {
    QStringList names;
    for (int i = 0; i < form.Results().rowCount(); ++i) {
        names << QFileInfo(form.Results().RowAt(i).Book).fileName() + QLatin1Char('!') +
                     form.Results().RowAt(i).Column + form.Results().RowAt(i).Row;
    }
    return names;
}

// Two readable books around a password-protected and a damaged one, in walk order.
QString MakeFolderWithUnreadableBooks() {
    const QString dir = formtest::FreshFolder(QStringLiteral("unreadable"));
    formtest::WriteFile(dir + QStringLiteral("/1 first.csv"), "apple\n");
    engine::testing::CompoundFileBuilder secret;
    secret.AddStream(QStringLiteral("EncryptionInfo"), QByteArray(200, '\x04'));
    secret.AddStream(QStringLiteral("EncryptedPackage"), QByteArray(300, '\x7F'));
    formtest::WriteFile(dir + QStringLiteral("/2 secret.xlsx"), secret.Build());
    formtest::WriteFile(dir + QStringLiteral("/3 broken.xlsx"), "PK\x03\x04 cut short");
    formtest::WriteFile(dir + QStringLiteral("/4 last.csv"), "pear,apple\n");
    return dir;
}

void DoubleClickRow(TFormMain& form, int row) {
    auto* list = Child<QTreeView>(form, "ListViewResult");
    const QRect rect = list->visualRect(form.Results().index(row, 0));
    // A press before the double-click, or the view emits no double-click signal.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

}  // namespace

class TestFormMainSearch : public QObject {
    Q_OBJECT

private slots:
    void init() { formtest::RemoveSettings(); }

    void wholeSearchListsHitsAndLocksTheWindowMeanwhile() {
        TFormMain form(engine_);
        StartWindow(form);
        SetConditions(form, MakeFruitFolder(), QStringLiteral("apple"));
        // What the window looked like while the run was going, seen at each progress step.
        QList<bool> conditionsEnabled, startEnabled, listEnabled, progressVisible, waitCursor;
        auto* bar = Child<QProgressBar>(form, "ProgressBar1");
        connect(bar, &QProgressBar::valueChanged, this, [&] {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            waitCursor << (cursor != nullptr && cursor->shape() == Qt::WaitCursor);
            conditionsEnabled << Child<QWidget>(form, "PanelTop")->isEnabled();
            startEnabled << Child<QAction>(form, "ActionBookSearchStart")->isEnabled();
            listEnabled << Child<QTreeView>(form, "ListViewResult")->isEnabled();
            progressVisible << Child<QWidget>(form, "PanelProgress")->isVisible();
        });
        Search(form);

        QCOMPARE(BookNames(form), QStringList({"a.csv!B2", "a.csv!A1", "b.csv!B1"}));
        QCOMPARE(form.statusBar()->currentMessage(), kFinished);
        QCOMPARE(bar->maximum(), 3);
        QCOMPARE(bar->value(), 3);
        QVERIFY(!conditionsEnabled.isEmpty());
        QVERIFY(!conditionsEnabled.contains(true));
        QVERIFY(!startEnabled.contains(true));
        QVERIFY(!listEnabled.contains(true));
        QVERIFY(!progressVisible.contains(false));
        QVERIFY(!waitCursor.contains(false));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QVERIFY(Child<QWidget>(form, "PanelTop")->isEnabled());
        QVERIFY(Child<QAction>(form, "ActionBookSearchStart")->isEnabled());
        QVERIFY(Child<QTreeView>(form, "ListViewResult")->isEnabled());
        QVERIFY(!Child<QWidget>(form, "PanelProgress")->isVisible());

        // Sub-folders on: the sub-folder's workbook comes after the folder's own.
        Child<QCheckBox>(form, "CheckBoxBookSearchSubDir")->setChecked(true);
        Search(form);
        QCOMPARE(BookNames(form), QStringList({"a.csv!B2", "a.csv!A1", "b.csv!B1", "d.csv!A1"}));

        const QString shot = qEnvironmentVariable("SORVANE_SCREENSHOT");
        if (!shot.isEmpty()) {
            QTest::qWait(100);
            QVERIFY(form.grab().save(shot));
            form.resize(900, 600);
            QTest::qWait(100);
            QVERIFY(form.grab().save(shot + QStringLiteral(".wide.png")));
        }
    }

    void waitCursorsNestAndComeOffOnAnError() {
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        try {
            const TCursorHourGlass outer;
            {
                const TCursorHourGlass inner;
                QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            }
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            throw std::runtime_error("the covered operation failed");
        } catch (const std::runtime_error&) {
        }
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void inputChecksWarnInOrderAndKeepTheRows() {
        TFormMain form(engine_);
        StartWindow(form);
        const QString dir = MakeFruitFolder();
        SetConditions(form, dir, QStringLiteral("apple"));
        Search(form);
        QCOMPARE(form.Results().rowCount(), 3);
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        struct Case {
            QString folder, word;
            bool anyType;
            QString warning;
            const char* focus;
        };
        const Case cases[] = {
            {dir + QStringLiteral("/none"), QString(), false,
             QStringLiteral("検索するフォルダーを選択してください。"), "EditFolder"},
            {QString(), QStringLiteral("x"), false,
             QStringLiteral("検索するフォルダーを選択してください。"), "EditFolder"},
            {dir, QString(), false, QStringLiteral("検索キーワードを入力してください。"),
             "EditWord"},
            {dir, QStringLiteral("apple"), false, QStringLiteral("検索対象を選択してください。"),
             "CheckListBoxFileType"},
        };
        auto* types = Child<QListWidget>(form, "CheckListBoxFileType");
        for (const Case& c : cases) {
            SetConditions(form, c.folder, c.word);
            for (int i = 0; i < types->count(); ++i) {
                types->item(i)->setCheckState(c.anyType ? Qt::Checked : Qt::Unchecked);
            }
            Child<QTreeView>(form, "ListViewResult")->setFocus();
            QList<formtest::BoxSeen> seen;
            formtest::AcceptNextBox(seen);
            Search(form);
            QCOMPARE(seen.size(), 1);
            QCOMPARE(seen[0].title, QStringLiteral("警告"));
            QCOMPARE(seen[0].icon, QMessageBox::Warning);
            QCOMPARE(seen[0].text, c.warning);
            QCOMPARE(form.focusWidget()->objectName(), QString::fromLatin1(c.focus));
            QCOMPARE(form.Results().rowCount(), 3);  // the previous run's rows stay
        }
    }

    void cancelFromInsideTheRunStopsAfterTheCurrentBook_data() {
        QTest::addColumn<bool>("escapeKey");
        QTest::newRow("cancel button") << false;
        QTest::newRow("Esc") << true;
    }

    void cancelFromInsideTheRunStopsAfterTheCurrentBook() {
        QFETCH(bool, escapeKey);
        TFormMain form(engine_);
        StartWindow(form);
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        SetConditions(form, MakeFruitFolder(), QStringLiteral("apple"));
        auto* bar = Child<QProgressBar>(form, "ProgressBar1");
        connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
            if (value == 1 && escapeKey) {
                QTest::keyClick(&form, Qt::Key_Escape);
            } else if (value == 1) {
                Child<QToolButton>(form, "BitBtn1")->click();
            }
        });
        Search(form);
        QCOMPARE(BookNames(form), QStringList({"a.csv!B2", "a.csv!A1"}));
        QCOMPARE(bar->value(), 1);
        QCOMPARE(form.statusBar()->currentMessage(), kFinished);
        QVERIFY(Child<QAction>(form, "ActionBookSearchStart")->isEnabled());
    }

    void newProjectDuringARunWaitsForTheCancelledRun() {
        TFormMain form(engine_);
        StartWindow(form);
        SetConditions(form, MakeFruitFolder(), QStringLiteral("apple"));
        auto* bar = Child<QProgressBar>(form, "ProgressBar1");
        bool searchingWhenAsked = false;
        connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
            if (value == 1) {
                Child<QAction>(form, "ActionFileNew")->trigger();
                // Not carried out inside the pump: the conditions are still the run's.
                searchingWhenAsked =
                    form.IsSearching() && Child<QLineEdit>(form, "EditWord")->text() == "apple";
            }
        });
        Search(form);
        QVERIFY(searchingWhenAsked);
        QCOMPARE(bar->value(), 1);  // cancelled after the first workbook
        QCOMPARE(Child<QLineEdit>(form, "EditWord")->text(), QString());
        QCOMPARE(form.Results().rowCount(), 0);
        QCOMPARE(form.statusBar()->currentMessage(), QStringLiteral("新規に作成しました。"));
    }

    void closeDuringARunClosesWhenTheRunHasEnded() {
        TFormMain form(engine_);
        StartWindow(form);
        SetConditions(form, MakeFruitFolder(), QStringLiteral("apple"));
        auto* bar = Child<QProgressBar>(form, "ProgressBar1");
        bool visibleAfterAsking = false;
        connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
            if (value == 1) {
                form.close();
                visibleAfterAsking = form.isVisible();
            }
        });
        Search(form);
        QVERIFY(visibleAfterAsking);
        QVERIFY(!form.isVisible());
        QCOMPARE(bar->value(), 1);
        QVERIFY(QFile::exists(GetConfigFileName()));
    }

    void unreadableBookEndsTheRunWithItsRowsShownBehindTheWarning() {
        TFormMain form(engine_);
        StartWindow(form);
        SetConditions(form, MakeFolderWithUnreadableBooks(), QStringLiteral("apple"));
        QList<formtest::BoxSeen> seen;
        int rowsBehindTheBox = -1;
        formtest::AnswerNextModal([&](QWidget*) { rowsBehindTheBox = form.Results().rowCount(); });
        formtest::AcceptNextBox(seen);
        Search(form);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);  // restored after the error too
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen[0].text.contains(QStringLiteral("2 secret.xlsx")), qPrintable(seen[0].text));
        QCOMPARE(rowsBehindTheBox, 1);
        QCOMPARE(BookNames(form), QStringList({"1 first.csv!A1"}));
        QCOMPARE(form.statusBar()->currentMessage(), kFinished);
    }

    void withTheOptionOnTheRunGoesPastUnreadableBooksAndListsThem() {
        TFormMain form(engine_);
        StartWindow(form);
        // Switched on as a user does, in the general settings.
        formtest::AnswerNextModal([](QWidget* modal) {
            auto* box = modal->findChild<QCheckBox*>(QStringLiteral("CheckBoxSkipUnreadableBooks"));
            if (box != nullptr) {
                box->setChecked(true);
            }
            qobject_cast<QDialog*>(modal)->accept();
        });
        Child<QAction>(form, "ActionConfigGeneral")->trigger();
        QVERIFY(form.Config().SkipUnreadableBooks);

        SetConditions(form, MakeFolderWithUnreadableBooks(), QStringLiteral("apple"));
        QString title, listed, status;
        int rows = -1;
        formtest::AnswerNextModal([&](QWidget* modal) {
            title = modal->windowTitle();
            status = form.statusBar()->currentMessage();
            rows = form.Results().rowCount();
            if (auto* list = modal->findChild<QPlainTextEdit*>(QStringLiteral("ListSkipped"))) {
                listed = list->toPlainText();
            }
            if (auto* copy = modal->findChild<QPushButton*>(QStringLiteral("ButtonCopy"))) {
                copy->click();
            }
            qobject_cast<QDialog*>(modal)->accept();
        });
        Search(form);
        QCOMPARE(title, QStringLiteral("検索できなかったブック"));
        QCOMPARE(status, kFinished);
        QCOMPARE(rows, 2);
        QCOMPARE(BookNames(form), QStringList({"1 first.csv!A1", "4 last.csv!B1"}));
        const QStringList lines = listed.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].contains(QStringLiteral("2 secret.xlsx")) &&
                     lines[0].contains(QStringLiteral("パスワード")),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].contains(QStringLiteral("3 broken.xlsx")) &&
                     lines[1].contains(QStringLiteral("壊れている")),
                 qPrintable(lines[1]));
        QCOMPARE(QGuiApplication::clipboard()->text(), listed);
        QCOMPARE(Child<QProgressBar>(form, "ProgressBar1")->value(), 4);
    }

    // Row 2 is hidden: a values search passes over it until the setting asks for hidden cells.
    void theHiddenCellsSettingListsCellsInHiddenRows() {
        const QString dir = formtest::FreshFolder(QStringLiteral("hidden"));
        QFile::copy(
            testpackage::WriteFile(
                QStringLiteral("hidden.xlsx"),
                testpackage::Zip(testpackage::Workbook(
                    "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>apple</t></is></c></row>"
                    "<row r=\"2\" hidden=\"1\"><c r=\"A2\" t=\"inlineStr\"><is><t>apple pie"
                    "</t></is></c></row>"))),
            dir + QStringLiteral("/hidden.xlsx"));
        TFormMain form(engine_);
        StartWindow(form);
        SetConditions(form, dir, QStringLiteral("apple"));
        Child<QComboBox>(form, "ComboBoxFindLookIn")->setCurrentIndex(1);  // values
        Search(form);
        QCOMPARE(BookNames(form), QStringList({"hidden.xlsx!A1"}));

        formtest::AnswerNextModal([](QWidget* modal) {
            auto* box = modal->findChild<QCheckBox*>(QStringLiteral("CheckBoxSearchHiddenCells"));
            if (box != nullptr) {
                box->setChecked(true);
            }
            qobject_cast<QDialog*>(modal)->accept();
        });
        Child<QAction>(form, "ActionConfigGeneral")->trigger();
        QVERIFY(form.Config().SearchHiddenCells);
        Search(form);
        // Find starts after the used range's first cell, so that cell comes last.
        QCOMPARE(BookNames(form), QStringList({"hidden.xlsx!A2", "hidden.xlsx!A1"}));
    }

    // A repeat search reads only the books that can hold the word and shows how many it
    // passed over; the clear command and the setting turn that off.
    void theIndexPassesBooksOverUntilClearedOrTurnedOff() {
        const QString dir = MakeFruitFolder();
        const QString index = CellIndex::DefaultFile();
        CellIndex::Remove(index);
        TFormMain form(engine_);
        StartWindow(form);
        SetConditions(form, dir, QStringLiteral("apple"));
        auto* skipped = Child<QLabel>(form, "LabelIndexSkipped");
        Search(form);
        const QStringList first = BookNames(form);
        QCOMPARE(first.size(), 3);  // a.csv twice, b.csv; sub/ is not searched
        QCOMPARE(skipped->text(), QString());
        QVERIFY(QFileInfo::exists(index));
        Search(form);
        QCOMPARE(BookNames(form), first);
        QCOMPARE(skipped->text(), QStringLiteral("インデックスで省略: 1 ブック"));  // c.csv

        Child<QAction>(form, "ActionConfigClearIndex")->trigger();
        QVERIFY(!QFileInfo::exists(index));
        QCOMPARE(form.statusBar()->currentMessage(),
                 QStringLiteral("検索インデックスを消去しました。"));
        Search(form);
        QCOMPARE(skipped->text(), QString());

        formtest::AnswerNextModal([](QWidget* modal) {
            auto* box = modal->findChild<QCheckBox*>(QStringLiteral("CheckBoxUseSearchIndex"));
            if (box != nullptr) {
                QVERIFY(box->isChecked());
                box->setChecked(false);
            }
            qobject_cast<QDialog*>(modal)->accept();
        });
        Child<QAction>(form, "ActionConfigGeneral")->trigger();
        QVERIFY(!form.Config().UseSearchIndex);
        Search(form);
        QCOMPARE(BookNames(form), first);
        QCOMPARE(skipped->text(), QString());
    }

    void doubleClickShowsTheCellInTheViewer() {
        TFormMain form(engine_);
        StartWindow(form);
        SetConditions(form, MakeFruitFolder(), QStringLiteral("apple"));
        Search(form);
        QCOMPARE(form.Results().rowCount(), 3);
        DoubleClickRow(form, 0);  // a.csv, B2 (Find reaches A1 last)

        WorkbookViewer* viewer = engine_.Viewer().Viewer();
        QVERIFY(viewer != nullptr);
        QVERIFY(viewer->isVisible());
        QCOMPARE(QFileInfo(viewer->Book()->Path()).fileName(), QStringLiteral("a.csv"));
        QCOMPARE(viewer->CurrentSheet(), 0);
        QCOMPARE(viewer->CurrentAddress(), QStringLiteral("B2"));
        QCOMPARE(viewer->CurrentFormula(), QStringLiteral("apple pie"));

        // A second jump attaches to the open viewer and moves to the other workbook.
        DoubleClickRow(form, 2);
        QCOMPARE(engine_.Viewer().Viewer(), viewer);
        QCOMPARE(QFileInfo(viewer->Book()->Path()).fileName(), QStringLiteral("b.csv"));
        QCOMPARE(viewer->CurrentAddress(), QStringLiteral("B1"));

        // A closed viewer no longer counts as running: the next jump makes it visible again.
        viewer->close();
        QVERIFY(!engine_.Viewer().IsOpen());
        DoubleClickRow(form, 0);
        QVERIFY(viewer->isVisible());
        QCOMPARE(QFileInfo(viewer->Book()->Path()).fileName(), QStringLiteral("a.csv"));
        QCOMPARE(viewer->CurrentAddress(), QStringLiteral("B2"));
    }

    void jumpToADeletedWorkbookWarns() {
        TFormMain form(engine_);
        StartWindow(form);
        const QString dir = MakeFruitFolder();
        SetConditions(form, dir, QStringLiteral("apple"));
        Search(form);
        QVERIFY(QFile::remove(dir + QStringLiteral("/b.csv")));
        QList<formtest::BoxSeen> seen;
        bool waitCursorWhileWarning = true;
        formtest::AnswerNextModal([&](QWidget*) {
            // The wait cursor is gone before the warning shows.
            waitCursorWhileWarning = QGuiApplication::overrideCursor() != nullptr;
        });
        formtest::AcceptNextBox(seen);
        DoubleClickRow(form, 2);
        QTRY_COMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QStringLiteral("警告"));
        QVERIFY2(seen[0].text.contains(QStringLiteral("b.csv")), qPrintable(seen[0].text));
        QVERIFY(!waitCursorWhileWarning);
    }

    // Found order of the fruit folder: a.csv B2 "apple pie", a.csv A1 "apple", b.csv B1 "APPLE".
    void copyPutsTheSelectedRowsOnTheClipboardAsATable() {
        TFormMain form(engine_);
        StartWindow(form);
        const QString dir = MakeFruitFolder();
        SetConditions(form, dir, QStringLiteral("apple"));
        Search(form);
        auto* list = Child<QTreeView>(form, "ListViewResult");
        list->selectionModel()->clearSelection();
        list->selectionModel()->select(form.Results().index(0, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        list->selectionModel()->select(form.Results().index(2, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        list->setColumnHidden(7, true);  // hidden columns are left out
        Child<QAction>(form, "ActionResultCopy")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("ブック名\tシート\tシート名\t列\t行\tセルの値\tセルの数式\r\n") +
                     dir + QStringLiteral("/a.csv\t1\ta\tB\t2\tapple pie\tapple pie\r\n") + dir +
                     QStringLiteral("/b.csv\t1\tb\tB\t1\tAPPLE\tAPPLE\r\n"));
        QCOMPARE(Child<QLabel>(form, "LabelResultCount")->text(),
                 QStringLiteral("3 件 / 2 ブック"));
        Child<QAction>(form, "ActionFileNew")->trigger();  // the project command empties the list
        QCOMPARE(Child<QLabel>(form, "LabelResultCount")->text(),
                 QStringLiteral("0 件 / 0 ブック"));
    }

    void theListsContextMenuOffersTheRowCommands() {
        TFormMain form(engine_);
        StartWindow(form);
        SetConditions(form, MakeFruitFolder(), QStringLiteral("apple"));
        Search(form);
        auto* list = Child<QTreeView>(form, "ListViewResult");
        QStringList items;
        QTimer::singleShot(50, [&items] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) {
                return;
            }
            for (const QAction* action : menu->actions()) {
                items << (action->isSeparator() ? QStringLiteral("-") : action->text());
            }
            menu->close();
        });
        const QPoint at = list->visualRect(form.Results().index(1, 0)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &event);
        QCOMPARE(items, QStringList({"ブックを開く(&O)", "表計算ソフトで開く(&S)",
                                     "フォルダーを開く(&F)", "-", "コピー(&C)", "-",
                                     "列幅を自動調整(&W)", "見つかった順に戻す(&R)"}));
    }

    void exportWritesTheWholeListAsCsvOrTsv() {
        TFormMain form(engine_);
        StartWindow(form);
        const QString dir = MakeFruitFolder();
        formtest::WriteFile(dir + QStringLiteral("/e.csv"), "\"apple, \"\"red\"\"\"\n");
        SetConditions(form, dir, QStringLiteral("apple"));
        Search(form);
        const QString csv = testsupport::ScratchDir() + QStringLiteral("/export.csv");
        QFile::remove(csv);
        formtest::AnswerNextModal([&](QWidget* modal) {
            QVERIFY(formtest::AcceptFileDialogWith(qobject_cast<QFileDialog*>(modal), csv));
        });
        Child<QAction>(form, "ActionFileExportCsv")->trigger();
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith(
            "\xEF\xBB\xBF"
            "ブック名,シート,シート名,列,行,セルの値,セルの数式,セルのコメント\r\n"));
        QVERIFY2(bytes.endsWith((dir + QStringLiteral("/e.csv,1,e,A,1,\"apple, \"\"red\"\"\","
                                                      "\"apple, \"\"red\"\"\",\r\n"))
                                    .toUtf8()),
                 bytes.constData());
        QCOMPARE(bytes.count("\r\n"), 5);

        const QString tsv = testsupport::ScratchDir() + QStringLiteral("/export.tsv");
        formtest::AnswerNextModal([&](QWidget* modal) {
            QVERIFY(formtest::AcceptFileDialogWith(qobject_cast<QFileDialog*>(modal), tsv));
        });
        Child<QAction>(form, "ActionFileExportTsv")->trigger();
        QFile tsvFile(tsv);
        QVERIFY(tsvFile.open(QIODevice::ReadOnly));
        QVERIFY(tsvFile.readAll().startsWith("ブック名\tシート\t"));  // no byte-order mark
    }

    void headerClicksSortAndTheThirdRestoresTheFoundOrder() {
        TFormMain form(engine_);
        StartWindow(form);
        SetConditions(form, MakeFruitFolder(), QStringLiteral("apple"));
        Search(form);
        const QStringList found = {"a.csv!B2", "a.csv!A1", "b.csv!B1"};
        QCOMPARE(BookNames(form), found);
        QHeaderView* header = Child<QTreeView>(form, "ListViewResult")->header();
        const auto clickColumn = [&](int column) {
            const int middle =
                header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(middle, 5));
        };
        clickColumn(4);  // 行, by number
        QCOMPARE(BookNames(form), QStringList({"a.csv!A1", "b.csv!B1", "a.csv!B2"}));
        clickColumn(4);
        QCOMPARE(BookNames(form), QStringList({"a.csv!B2", "a.csv!A1", "b.csv!B1"}));
        clickColumn(4);
        QCOMPARE(BookNames(form), found);
        QVERIFY(!header->isSortIndicatorShown());
        clickColumn(3);  // 列: A before B, ties in the found order
        QCOMPARE(BookNames(form), QStringList({"a.csv!A1", "a.csv!B2", "b.csv!B1"}));
        Child<QAction>(form, "ActionResultFoundOrder")->trigger();
        QCOMPARE(BookNames(form), found);
    }

    void enterSearchesAndEnterOnAHitOpensIt() {
        TFormMain form(engine_);
        StartWindow(form);
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        SetConditions(form, MakeFruitFolder(), QStringLiteral("apple"));
        QTest::keyClick(Child<QLineEdit>(form, "EditWord"), Qt::Key_Return);
        QCOMPARE(form.Results().rowCount(), 3);
        auto* list = Child<QTreeView>(form, "ListViewResult");
        QTRY_COMPARE(QApplication::focusWidget(), list);  // the hits have the focus
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        WorkbookViewer* viewer = engine_.Viewer().Viewer();
        QVERIFY(viewer != nullptr);
        QTRY_VERIFY(viewer->isVisible());
        QCOMPARE(viewer->CurrentAddress(), QStringLiteral("A1"));
        viewer->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(viewer));
        QTest::keyClick(viewer, Qt::Key_Escape);
        QVERIFY(!viewer->isVisible());
    }

    void f1OpensTheHelpWindow() {
        TFormMain form(engine_);
        StartWindow(form);
        QTest::keyClick(&form, Qt::Key_F1);
        auto* help = form.findChild<HelpWindow*>();
        QVERIFY(help != nullptr);
        QTRY_VERIFY(help->isVisible());
        QCOMPARE(help->Page(), HelpTopicUrl(0));
        QCOMPARE(help->windowTitle(), QStringLiteral("Sorvane ヘルプ - 目次"));
    }

    void realWorkbookHitsJumpToTheirSheet() {
        const QString real = testsupport::RealFixturesDir();
        if (real.isEmpty()) {
            QSKIP("the real fixture workbooks are not available");
        }
        const QString name = QStringLiteral("gh548_incorrect_sst_unique_count.xls");
        const QString dir = CopyRealFixture(QStringLiteral("calamine/") + name);

        TFormMain form(engine_);
        StartWindow(form);
        SetConditions(form, dir, QStringLiteral("walk"));
        Child<QComboBox>(form, "ComboBoxFindLookIn")->setCurrentIndex(1);  // values
        Search(form);

        // Every cell the manifest lists for the word and the file is in the list.
        QSet<QString> found;
        for (int i = 0; i < form.Results().rowCount(); ++i) {
            const ResultRow& row = form.Results().RowAt(i);
            found << row.SheetNumber + '!' + row.Column + row.Row;
        }
        int listed = 0;
        for (const testsupport::ManifestRow& m : testsupport::ReadRealManifest()) {
            if (m.word == "walk" && m.file.endsWith(name)) {
                ++listed;
                QVERIFY2(found.contains(QString::number(m.sheetNumber) + '!' + m.cell),
                         qPrintable(m.cell));
            }
        }
        QVERIFY(listed > 10);

        int onSecondSheet = -1;
        for (int i = 0; i < form.Results().rowCount() && onSecondSheet < 0; ++i) {
            if (form.Results().RowAt(i).SheetNumber == "2") {
                onSecondSheet = i;
            }
        }
        QVERIFY(onSecondSheet >= 0);
        Child<QTreeView>(form, "ListViewResult")->scrollTo(form.Results().index(onSecondSheet, 0));
        DoubleClickRow(form, onSecondSheet);
        const ResultRow& row = form.Results().RowAt(onSecondSheet);
        WorkbookViewer* viewer = engine_.Viewer().Viewer();
        QVERIFY(viewer != nullptr && viewer->isVisible());
        QCOMPARE(viewer->CurrentSheet(), 1);
        QCOMPARE(viewer->CurrentAddress(), row.Column + row.Row);
        const QString shot = qEnvironmentVariable("SORVANE_SCREENSHOT");
        if (!shot.isEmpty()) {
            QTest::qWait(100);
            QVERIFY(viewer->grab().save(shot + QStringLiteral(".viewer.png")));
        }
    }

    void commentHitOnTheLastCellShowsInTheViewer() {
        if (testsupport::RealFixturesDir().isEmpty()) {
            QSKIP("the real fixture workbooks are not available");
        }
        TFormMain form(engine_);
        StartWindow(form);
        SetConditions(form, CopyRealFixture(QStringLiteral("xlsxwriter/comment03.xlsx")),
                      QStringLiteral("text"));
        Child<QComboBox>(form, "ComboBoxFindLookIn")->setCurrentIndex(2);  // comments
        Search(form);
        int last = -1;
        for (int i = 0; i < form.Results().rowCount(); ++i) {
            if (form.Results().RowAt(i).Column == "XFD") {
                last = i;
            }
        }
        QVERIFY(last >= 0);
        QCOMPARE(form.Results().RowAt(last).Row, QStringLiteral("1048576"));
        Child<QTreeView>(form, "ListViewResult")->scrollTo(form.Results().index(last, 0));
        DoubleClickRow(form, last);
        WorkbookViewer* viewer = engine_.Viewer().Viewer();
        QVERIFY(viewer != nullptr && viewer->isVisible());
        QCOMPARE(viewer->CurrentAddress(), QStringLiteral("XFD1048576"));
        QCOMPARE(viewer->CurrentComment(), form.Results().RowAt(last).Comment);
        QVERIFY(viewer->CurrentComment().contains(QStringLiteral("Some text")));
    }

private:
    // A scratch folder holding a copy of one real fixture workbook.
    static QString CopyRealFixture(const QString& relative) {
        const QString dir = formtest::FreshFolder(QStringLiteral("real"));
        const QString source = testsupport::RealFixturesDir() + QLatin1Char('/') + relative;
        if (!QFile::copy(source, dir + QLatin1Char('/') + QFileInfo(source).fileName())) {
            qFatal("cannot copy %s", qPrintable(source));
        }
        return dir;
    }

    DesktopEngine engine_;
};

SORVANE_QTEST_MAIN(TestFormMainSearch)
#include "TestFormMainSearch.moc"
