// Start-up and close of the main window (settings, window rectangle and state, last project,
// stay-on-top, column widths), the action list as the user sees it, and the window's own
// view commands.
#include "FormTestSupport.h"
#include "app/Tformmain.h"
#include "dialogs/Tformconfigresultitem.h"
#include "storage/Tproject.h"

#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTreeView>
#include <QWindow>

namespace {

const QString kNewProject = QStringLiteral("新規に作成しました。");

template <typename T>
T* Child(QWidget& form, const char* name) {
    T* child = form.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) {
        qFatal("no child %s", name);
    }
    return child;
}

QAction* Action(QWidget& form, const char* name) {
    return Child<QAction>(form, name);
}

bool IsTopmost(const QWidget& form) {
    return form.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

QString SaveProject(const QString& name, const QString& word) {
    TProject project;
    project.Word = word;
    project.Ext = {0, 2};
    const QString path = testsupport::ScratchDir() + QLatin1Char('/') + name;
    project.Save(path);
    return path;
}

void WriteSettings(const TConfig& config) {
    QVERIFY(TConfig(config).Save(GetConfigFileName()));
}

TConfig ReadSettings() {
    TConfig config;
    config.Load(GetConfigFileName());
    return config;
}

// Shows the window and waits for its first-idle step, which ends with a status text.
void StartWindow(TFormMain& form) {
    form.show();
    QTRY_VERIFY(!form.statusBar()->currentMessage().isEmpty());
}

}  // namespace

class TestFormMainStartup : public QObject {
    Q_OBJECT

private slots:
    void init() { formtest::RemoveSettings(); }

    void firstStartWithoutSettings() {
        TFormMain form(engine_);
        StartWindow(form);
        QCOMPARE(form.statusBar()->currentMessage(), kNewProject);
        QCOMPARE(form.windowTitle(), QStringLiteral("Sorvane"));
        QVERIFY(!IsTopmost(form));
        QVERIFY(!Action(form, "ActionViewStayOnTop")->isChecked());
        QVERIFY(Action(form, "ActionViewSearch")->isChecked());
        QVERIFY(Child<QWidget>(form, "PanelTop")->isVisible());
        QCOMPARE(form.windowState(), Qt::WindowNoState);
        auto* list = Child<QTreeView>(form, "ListViewResult");
        for (int i = 0; i < 8; ++i) {
            // The default widths, widened where the caption would be cut.
            QVERIFY(list->columnWidth(i) >= DefaultResultItemColWidth[static_cast<size_t>(i)]);
            QVERIFY(list->columnWidth(i) >= list->header()->sectionSizeHint(i));
        }
        // A new project's conditions.
        QCOMPARE(Child<QLineEdit>(form, "EditWord")->text(), QString());
        auto* types = Child<QListWidget>(form, "CheckListBoxFileType");
        QCOMPARE(types->count(), 3);
        QCOMPARE(types->item(0)->text(), QStringLiteral("Excelファイル(*.xls) "));
        for (int i = 0; i < types->count(); ++i) {
            QCOMPARE(types->item(i)->checkState(), Qt::Checked);
        }
    }

    void storedSettingsRestoreWindowProjectAndColumns() {
        TConfig config;
        config.WindowPositionRestore = true;
        config.WindowPositionLeft = 40;
        config.WindowPositionTop = 50;
        config.WindowPositionRight = 640;
        config.WindowPositionBottom = 480;
        config.WindowState = 2;
        config.ShowStayOnTop = true;
        config.ProjectFileRestore = true;
        config.LastProjectFile = SaveProject(QStringLiteral("last.SVZ"), QStringLiteral("売上"));
        config.ResultItemColWidth = {100, 0, 56, 28, 28, 60, 70, 78};
        WriteSettings(config);

        TFormMain form(engine_);
        StartWindow(form);
        QCOMPARE(form.statusBar()->currentMessage(), QStringLiteral("ファイルを開きました。"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Sorvane - last.SVZ"));
        QCOMPARE(Child<QLineEdit>(form, "EditWord")->text(), QStringLiteral("売上"));
        auto* types = Child<QListWidget>(form, "CheckListBoxFileType");
        QCOMPARE(types->item(1)->checkState(), Qt::Unchecked);
        QCOMPARE(types->item(2)->checkState(), Qt::Checked);
        QVERIFY(form.isMaximized());
        QCOMPARE(form.normalGeometry(), QRect(40, 50, 640, 480));
        QVERIFY(IsTopmost(form));
        QVERIFY(Action(form, "ActionViewStayOnTop")->isChecked());
        auto* list = Child<QTreeView>(form, "ListViewResult");
        QCOMPARE(list->columnWidth(0), 100);
        QVERIFY(list->isColumnHidden(1));
    }

    void restoreOptionsOffIgnoreTheStoredWindowAndProject() {
        TConfig config;
        config.WindowPositionLeft = 40;
        config.WindowPositionRight = 640;
        config.WindowState = 2;
        config.LastProjectFile = SaveProject(QStringLiteral("ignored.SVZ"), QStringLiteral("x"));
        WriteSettings(config);
        TFormMain form(engine_);
        StartWindow(form);
        QVERIFY(!form.isMaximized());
        QVERIFY(form.width() != 640);
        QCOMPARE(form.windowTitle(), QStringLiteral("Sorvane"));
    }

    void missingLastProjectStartsANewOne() {
        TConfig config;
        config.ProjectFileRestore = true;
        config.LastProjectFile = testsupport::ScratchDir() + QStringLiteral("/gone.SVZ");
        WriteSettings(config);
        TFormMain form(engine_);
        StartWindow(form);
        QCOMPARE(form.statusBar()->currentMessage(), kNewProject);
        QCOMPARE(form.windowTitle(), QStringLiteral("Sorvane"));
    }

    void projectNamedAtStartIsOpened() {
        const QString path = SaveProject(QStringLiteral("given.SVZ"), QStringLiteral("引数"));
        TFormMain form(engine_, nullptr, path);
        StartWindow(form);
        QCOMPARE(form.windowTitle(), QStringLiteral("Sorvane - given.SVZ"));
        QCOMPARE(Child<QLineEdit>(form, "EditWord")->text(), QStringLiteral("引数"));
    }

    void closeStoresWindowProjectAndWidths_data() {
        QTest::addColumn<bool>("maximise");
        QTest::addColumn<int>("state");
        QTest::newRow("normal") << false << 0;
        QTest::newRow("maximised keeps the normal rectangle") << true << 2;
    }

    void closeStoresWindowProjectAndWidths() {
        QFETCH(bool, maximise);
        const QString project = SaveProject(QStringLiteral("closing.SVZ"), QStringLiteral("w"));
        {
            TFormMain form(engine_, nullptr, project);
            StartWindow(form);
            form.setGeometry(30, 40, 500, 450);
            QTRY_COMPARE(form.geometry(), QRect(30, 40, 500, 450));
            if (maximise) {
                form.showMaximized();
                QTRY_VERIFY(form.isMaximized());
                // Offscreen has no window manager to enlarge a maximised window: do its part.
                form.windowHandle()->setGeometry(form.screen()->availableGeometry());
                QTRY_VERIFY(form.geometry() != QRect(30, 40, 500, 450));
                QVERIFY(form.isMaximized());
            }
            Action(form, "ActionViewStayOnTop")->trigger();
            Child<QTreeView>(form, "ListViewResult")->setColumnWidth(2, 123);
            Child<QTreeView>(form, "ListViewResult")->setColumnHidden(6, true);
            auto* splitter = Child<QSplitter>(form, "Splitter1");
            splitter->setSizes({290, splitter->height() - 290});
            QVERIFY(form.close());
        }
        const TConfig stored = ReadSettings();
        QCOMPARE(stored.SplitterPosition, 290);
        QTEST(int(stored.WindowState), "state");
        QCOMPARE(QRect(stored.WindowPositionLeft, stored.WindowPositionTop,
                       stored.WindowPositionRight, stored.WindowPositionBottom),
                 QRect(30, 40, 500, 450));
        QCOMPARE(stored.LastProjectFile, project);
        QVERIFY(stored.ShowStayOnTop);
        QCOMPARE(stored.ResultItemColWidth[2], 123);
        QCOMPARE(stored.ResultItemColWidth[6], 0);
        QCOMPARE(stored.ResultItemColWidth[0], 56);
        QCOMPARE(stored.History.value(0), project);
    }

    void theStoredSplitterPositionComesBack() {
        TConfig config;
        config.SplitterPosition = 300;
        WriteSettings(config);
        TFormMain form(engine_);
        StartWindow(form);
        QCOMPARE(Child<QSplitter>(form, "Splitter1")->sizes().value(0), 300);
    }

    void firstStartIsRoomyAndGrowingGivesTheListTheHeight() {
        TFormMain form(engine_);
        StartWindow(form);
        const QSize available = form.screen()->availableGeometry().size();
        QCOMPARE(form.size(), QSize(900, 640).boundedTo(available * 9 / 10));
        // Height added to the window goes to the results.
        auto* list = Child<QTreeView>(form, "ListViewResult");
        auto* top = Child<QWidget>(form, "PanelTop");
        const int listBefore = list->height();
        const int topBefore = top->height();
        form.resize(form.width(), form.height() + 200);
        QTRY_COMPARE(list->height(), listBefore + 200);
        QCOMPARE(top->height(), topBefore);
    }

    void untitledProjectStoresAnEmptyLastProject() {
        {
            TFormMain form(engine_);
            StartWindow(form);
            form.close();
        }
        QVERIFY(QFile::exists(GetConfigFileName()));
        QCOMPARE(ReadSettings().LastProjectFile, QString());
        QVERIFY(!ReadSettings().ShowStayOnTop);
    }

    void closeWarnsWhenTheSettingsFolderCannotBeMade() {
        const QByteArray home = qgetenv("XDG_CONFIG_HOME");
        const QString blocker = testsupport::ScratchDir() + QStringLiteral("/not-a-folder");
        formtest::WriteFile(blocker, "x");
        qputenv("XDG_CONFIG_HOME", blocker.toLocal8Bit());
        QList<formtest::BoxSeen> seen;
        {
            TFormMain form(engine_);
            StartWindow(form);
            formtest::AcceptNextBox(seen);
            form.close();
        }
        qputenv("XDG_CONFIG_HOME", home);
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QStringLiteral("警告"));
        QCOMPARE(seen[0].text,
                 QStringLiteral("設定ファイルを保存するためのフォルダの作成に失敗しました。"));
        QVERIFY(QFileInfo(blocker).isFile());
    }

    void actionsCarryCaptionsShortcutsAndHints_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("hasIcon");
        QTest::newRow("start") << "ActionBookSearchStart"
                               << "検索(Ctrl+F)"
                               << "Ctrl+F"
                               << "検索開始|検索処理を開始します。" << true;
        QTest::newRow("cancel") << "ActionBookSearchCancel"
                                << "キャンセル(ESC)"
                                << ""
                                << "" << true;
        QTest::newRow("browse") << "ActionBookFolderReffer"
                                << "参照(&R)"
                                << ""
                                << "" << true;
        QTest::newRow("new") << "ActionFileNew"
                             << "新規作成(&N)"
                             << "Ctrl+N"
                             << "検索条件を新規に作成する|検索条件を新規に作成します" << true;
        QTest::newRow("open") << "ActionFileOpen"
                              << "開く(&O)"
                              << "Ctrl+O"
                              << "" << true;
        QTest::newRow("save") << "ActionFileSave"
                              << "上書き保存(&S)"
                              << "Ctrl+S"
                              << "" << true;
        QTest::newRow("save as") << "ActionFileSaveAs"
                                 << "名前をつけて保存(&A)"
                                 << ""
                                 << "" << false;
        QTest::newRow("close") << "ActionFileClose"
                               << "閉じる(&X)"
                               << ""
                               << "" << false;
        QTest::newRow("conditions")
            << "ActionViewSearch"
            << "検索条件(&F)"
            << "Ctrl+H"
            << "検索条件の表示切り替え|検索条件の表示・非表示を切り替えます。" << true;
        QTest::newRow("columns") << "ActionViewResultCol"
                                 << "表示項目(&C)"
                                 << ""
                                 << "検索結果の表示項目の設定|検索結果の表示項目の設定します。"
                                 << true;
        QTest::newRow("on top") << "ActionViewStayOnTop"
                                << "最前面に表示(&T)"
                                << ""
                                << "最前面に表示|ウィンドウを常に最前面に表示します。" << true;
        QTest::newRow("general") << "ActionConfigGeneral"
                                 << "全般設定(&G)"
                                 << ""
                                 << "" << false;
        QTest::newRow("help") << "ActionHelpHelp"
                              << "ヘルプ(&H)"
                              << ""
                              << "" << false;
        QTest::newRow("about") << "ActionHelpVersion"
                               << "バージョン情報(&A)"
                               << ""
                               << "" << false;
    }

    void actionsCarryCaptionsShortcutsAndHints() {
        QFETCH(QString, action);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(QString, hint);
        TFormMain form(engine_);
        QAction* found = form.findChild<QAction*>(action);
        QVERIFY(found != nullptr);
        QCOMPARE(found->text(), caption);
        QCOMPARE(found->shortcut(), QKeySequence(shortcut));
        if (!hint.isEmpty()) {
            QCOMPARE(found->toolTip() + QLatin1Char('|') + found->statusTip(), hint);
        }
        QTEST(!found->icon().isNull(), "hasIcon");
    }

    void viewSearchHidesOnlyTheConditions() {
        TFormMain form(engine_);
        StartWindow(form);
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_H, Qt::ControlModifier);
        QVERIFY(!Child<QWidget>(form, "PanelTop")->isVisible());
        QVERIFY(Child<QSplitter>(form, "Splitter1")->isVisible());
        QVERIFY(Child<QTreeView>(form, "ListViewResult")->isVisible());
        QVERIFY(!Action(form, "ActionViewSearch")->isChecked());
        QTest::keyClick(&form, Qt::Key_H, Qt::ControlModifier);
        QVERIFY(Child<QWidget>(form, "PanelTop")->isVisible());
    }

    void stayOnTopFollowsTheAction() {
        TFormMain form(engine_);
        StartWindow(form);
        Action(form, "ActionViewStayOnTop")->trigger();
        QVERIFY(IsTopmost(form));
        QVERIFY(form.isVisible());
        Action(form, "ActionViewStayOnTop")->trigger();
        QVERIFY(!IsTopmost(form));
    }

    void folderBrowserReplacesTheFolderOnlyWhenConfirmed() {
        TFormMain form(engine_);
        StartWindow(form);
        auto* folder = Child<QLineEdit>(form, "EditFolder");
        folder->setText(QStringLiteral("kept"));
        QString title;
        formtest::AnswerNextModal([&title](QWidget* modal) {
            title = modal->windowTitle();
            qobject_cast<QDialog*>(modal)->reject();
        });
        Action(form, "ActionBookFolderReffer")->trigger();
        QCOMPARE(title, QStringLiteral("検索フォルダーの参照"));
        QCOMPARE(folder->text(), QStringLiteral("kept"));

        const QString chosen = formtest::FreshFolder(QStringLiteral("chosen"));
        formtest::AnswerNextModal([&chosen](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr) {
                modal->close();
                QFAIL("the open modal window is not a file dialog");
            }
            dialog->setDirectory(chosen);
            QVERIFY(formtest::AcceptFileDialogWith(dialog, chosen));
        });
        Action(form, "ActionBookFolderReffer")->trigger();
        QCOMPARE(folder->text(), chosen);
    }

    void generalSettingsDropStayOnTopWhileOpen_data() {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("cancel") << false;
        QTest::newRow("OK saves at once") << true;
    }

    void generalSettingsDropStayOnTopWhileOpen() {
        QFETCH(bool, confirm);
        TFormMain form(engine_);
        StartWindow(form);
        Action(form, "ActionViewStayOnTop")->trigger();
        QVERIFY(IsTopmost(form));
        QVERIFY(!QFile::exists(GetConfigFileName()));
        bool topmostWhileOpen = true;
        formtest::AnswerNextModal([&](QWidget* modal) {
            topmostWhileOpen = IsTopmost(form);
            auto* dialog = qobject_cast<QDialog*>(modal);
            confirm ? dialog->accept() : dialog->reject();
        });
        Action(form, "ActionConfigGeneral")->trigger();
        QVERIFY(!topmostWhileOpen);
        QVERIFY(IsTopmost(form));
        QVERIFY(Action(form, "ActionViewStayOnTop")->isChecked());
        QCOMPARE(QFile::exists(GetConfigFileName()), confirm);
    }

    void failingCommandShowsItsMessageAndTheWindowGoesOn() {
        TFormMain form(engine_);
        StartWindow(form);
        // A test program carries no version block, so the about box cannot be made.
        QList<formtest::BoxSeen> seen;
        formtest::AcceptNextBox(seen);
        Action(form, "ActionHelpVersion")->trigger();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, QStringLiteral("バージョン情報を取得できません"));
        QCOMPARE(seen[0].icon, QMessageBox::Critical);
        QVERIFY(form.isVisible());
        Action(form, "ActionFileNew")->trigger();
        QCOMPARE(form.statusBar()->currentMessage(), kNewProject);
    }

    void resultColumnDialogHidesAndShowsColumns() {
        TFormMain form(engine_);
        StartWindow(form);
        auto* list = Child<QTreeView>(form, "ListViewResult");
        list->setColumnWidth(0, 150);  // dragged by hand: the dialog keeps it
        formtest::AnswerNextModal([](QWidget* modal) {
            auto* dialog = qobject_cast<TFormConfigResultItem*>(modal);
            QVERIFY(dialog != nullptr);
            std::set<int> choice = dialog->Choice();
            choice.erase(5);
            dialog->SetChoice(choice);
            dialog->accept();
        });
        Action(form, "ActionViewResultCol")->trigger();
        QVERIFY(list->isColumnHidden(5));
        QCOMPARE(form.Config().ResultItemColWidth[5], 0);
        QCOMPARE(list->columnWidth(0), 150);

        formtest::AnswerNextModal([](QWidget* modal) {
            auto* dialog = qobject_cast<TFormConfigResultItem*>(modal);
            QVERIFY(dialog != nullptr);
            QVERIFY(dialog->Choice().count(5) == 0);
            dialog->SetChoice({0, 1, 2, 3, 4, 5, 6, 7});
            dialog->accept();
        });
        Action(form, "ActionViewResultCol")->trigger();
        QVERIFY(!list->isColumnHidden(5));
        QCOMPARE(list->columnWidth(5), 60);  // back at its default width
    }

    void minimisingWithoutANotificationAreaKeepsTheWindow() {
        TConfig config;
        config.InTaskTray = true;
        WriteSettings(config);
        TFormMain form(engine_);
        StartWindow(form);
        form.showMinimized();
        QTest::qWait(50);
        // No notification area here: hiding the window would lose it.
        QVERIFY(form.isVisible());
        QVERIFY(!form.findChild<QSystemTrayIcon*>(QStringLiteral("TrayIcon1"))->isVisible());
    }

private:
    DesktopEngine engine_;
};

SORVANE_QTEST_MAIN(TestFormMainStartup)
#include "TestFormMainStartup.moc"
