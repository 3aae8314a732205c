// The File menu's project commands through the window: new, open, save, save as, the caption,
// the history and the recent-files submenu.
#include "FormTestSupport.h"
#include "app/ProjectCommands.h"
#include "app/ResultListModel.h"
#include "app/SorvaneApplication.h"
#include "app/Tformmain.h"
#include "storage/Tproject.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QStatusBar>
#include <QTest>

namespace {

template <typename T>
T* Child(QWidget& form, const char* name) {
    T* child = form.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) {
        qFatal("no child %s", name);
    }
    return child;
}

QString Scratch(const QString& name) {
    return testsupport::ScratchDir() + QLatin1Char('/') + name;
}

QString Status(TFormMain& form) {
    return form.statusBar()->currentMessage();
}

void StartWindow(TFormMain& form) {
    form.show();
    QTRY_COMPARE(Status(form), QStringLiteral("新規に作成しました。"));
}

// Answers the next file dialog with a path, or cancels it when the path is empty.
void AnswerFileDialog(const QString& path, QString* presetSeen = nullptr) {
    formtest::AnswerNextModal([path, presetSeen](QWidget* modal) {
        // The dialog is closed before any check, so a failing check cannot leave it waiting.
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) {
            modal->close();
            QFAIL("the open modal window is not a file dialog");
        }
        const QStringList filters = dialog->nameFilters();
        if (presetSeen != nullptr) {
            *presetSeen = dialog->selectedFiles().value(0);
        }
        if (path.isEmpty()) {
            dialog->reject();
        } else if (!formtest::AcceptFileDialogWith(dialog, path)) {
            QFAIL("the file dialog has no name box");
        }
        QCOMPARE(filters, ProjectCommands::Filters());
    });
}

QStringList FileTypeChecks(TFormMain& form) {
    auto* types = Child<QListWidget>(form, "CheckListBoxFileType");
    QStringList checks;
    for (int i = 0; i < types->count(); ++i) {
        checks << (types->item(i)->checkState() == Qt::Checked ? "x" : "-");
    }
    return checks;
}

QStringList ReopenCaptions(TFormMain& form) {
    auto* menu = Child<QMenu>(form, "MenuFileReOpen");
    emit Child<QMenu>(form, "MenuFile")->aboutToShow();
    QStringList captions;
    for (QAction* item : menu->actions()) {
        captions << item->text();
    }
    return captions;
}

}  // namespace

class TestProjectCommands : public QObject {
    Q_OBJECT

private slots:
    void init() { formtest::RemoveSettings(); }

    void newResetsConditionsListAndCaption() {
        TFormMain form(engine_);
        StartWindow(form);
        Child<QLineEdit>(form, "EditFolder")->setText(QStringLiteral("/tmp"));
        Child<QLineEdit>(form, "EditWord")->setText(QStringLiteral("語"));
        Child<QCheckBox>(form, "CheckBoxMatchCase")->setChecked(true);
        Child<QCheckBox>(form, "CheckBoxMatchByte")->setChecked(false);
        Child<QComboBox>(form, "ComboBoxFindLookIn")->setCurrentIndex(2);
        Child<QListWidget>(form, "CheckListBoxFileType")->item(1)->setCheckState(Qt::Unchecked);
        form.Results().AppendRow(ResultRow{"/a.csv", "1", "a", "A", "1", "x", "x", ""});
        form.Results().Flush();
        form.statusBar()->clearMessage();

        Child<QAction>(form, "ActionFileNew")->trigger();
        QCOMPARE(Child<QLineEdit>(form, "EditFolder")->text(), QString());
        QCOMPARE(Child<QLineEdit>(form, "EditWord")->text(), QString());
        QVERIFY(!Child<QCheckBox>(form, "CheckBoxMatchCase")->isChecked());
        QVERIFY(Child<QCheckBox>(form, "CheckBoxMatchByte")->isChecked());
        QVERIFY(!Child<QCheckBox>(form, "CheckBoxLookAt")->isChecked());
        QCOMPARE(Child<QComboBox>(form, "ComboBoxFindLookIn")->currentIndex(), 0);
        QCOMPARE(Child<QComboBox>(form, "ComboBoxSearchOrder")->currentIndex(), 0);
        QCOMPARE(FileTypeChecks(form), QStringList({"x", "x", "x"}));
        QCOMPARE(form.Results().rowCount(), 0);
        QCOMPARE(form.windowTitle(), QStringLiteral("Sorvane"));
        QCOMPARE(Status(form), QStringLiteral("新規に作成しました。"));
    }

    void openShowsTheFileTypesOfTheProject_data() {
        QTest::addColumn<QByteArray>("ext");
        QTest::addColumn<QStringList>("checks");
        QTest::newRow("first only") << QByteArray("Ext=0\r\n") << QStringList({"x", "-", "-"});
        QTest::newRow("first and third")
            << QByteArray("Ext=0,2\r\n") << QStringList({"x", "-", "x"});
        QTest::newRow("empty") << QByteArray("Ext=\r\n") << QStringList({"-", "-", "-"});
        QTest::newRow("absent") << QByteArray() << QStringList({"x", "x", "x"});
        QTest::newRow("unknown type") << QByteArray("Ext=7,1\r\n") << QStringList({"-", "x", "-"});
    }

    void openShowsTheFileTypesOfTheProject() {
        QFETCH(QByteArray, ext);
        const QString path = Scratch(QStringLiteral("types.SVZ"));
        formtest::WriteFile(path, "[SEARCH]\r\nWord=abc\r\nFindLookIn=1\r\nLookAt=1\r\n" + ext);
        TFormMain form(engine_);
        StartWindow(form);
        AnswerFileDialog(path);
        Child<QAction>(form, "ActionFileOpen")->trigger();
        QTEST(FileTypeChecks(form), "checks");
        QCOMPARE(Child<QLineEdit>(form, "EditWord")->text(), QStringLiteral("abc"));
        QCOMPARE(Child<QComboBox>(form, "ComboBoxFindLookIn")->currentIndex(), 1);
        QVERIFY(Child<QCheckBox>(form, "CheckBoxLookAt")->isChecked());
        QCOMPARE(form.windowTitle(), QStringLiteral("Sorvane - types.SVZ"));
        QCOMPARE(Status(form), QStringLiteral("ファイルを開きました。"));
        QCOMPARE(form.Config().History.value(0), path);
    }

    void openingATypedNameThatDoesNotExistStartsItEmpty() {
        const QString path = Scratch(QStringLiteral("typed-new.SVZ"));
        QFile::remove(path);
        TFormMain form(engine_);
        StartWindow(form);
        Child<QLineEdit>(form, "EditWord")->setText(QStringLiteral("old"));
        AnswerFileDialog(path);
        Child<QAction>(form, "ActionFileOpen")->trigger();
        QCOMPARE(Child<QLineEdit>(form, "EditWord")->text(), QString());
        QCOMPARE(form.windowTitle(), QStringLiteral("Sorvane - typed-new.SVZ"));
        QCOMPARE(form.Config().History.value(0), path);
        // A later Save writes the file there without asking.
        Child<QAction>(form, "ActionFileSave")->trigger();
        QVERIFY(QFile::exists(path));
    }

    void cancelledOpenChangesNothing() {
        TFormMain form(engine_);
        StartWindow(form);
        Child<QLineEdit>(form, "EditWord")->setText(QStringLiteral("kept"));
        AnswerFileDialog(QString());
        Child<QAction>(form, "ActionFileOpen")->trigger();
        QCOMPARE(Child<QLineEdit>(form, "EditWord")->text(), QStringLiteral("kept"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Sorvane"));
    }

    void saveOfAnUntitledProjectAsksForAName() {
        TFormMain form(engine_);
        StartWindow(form);
        form.statusBar()->clearMessage();
        AnswerFileDialog(QString());  // cancelled: still untitled, no status text
        Child<QAction>(form, "ActionFileSave")->trigger();
        QCOMPARE(form.Project().FileName, QString());
        QCOMPARE(Status(form), QString());

        const QString path = Scratch(QStringLiteral("saved.SVZ"));
        QFile::remove(path);
        Child<QLineEdit>(form, "EditWord")->setText(QStringLiteral("保存"));
        Child<QListWidget>(form, "CheckListBoxFileType")->item(0)->setCheckState(Qt::Unchecked);
        AnswerFileDialog(path);
        Child<QAction>(form, "ActionFileSave")->trigger();
        QCOMPARE(Status(form), QStringLiteral("ファイルに保存しました。"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Sorvane - saved.SVZ"));
        QCOMPARE(form.Config().History.value(0), path);
        TProject stored;
        stored.Load(path);
        QCOMPARE(stored.Word, QStringLiteral("保存"));
        QCOMPARE(stored.ExtText(), QStringLiteral("1,2"));
    }

    void saveOfATitledProjectWritesWithoutTouchingCaptionOrHistory() {
        const QString first = Scratch(QStringLiteral("first.SVZ"));
        const QString second = Scratch(QStringLiteral("second.SVZ"));
        TProject().Save(first);
        TProject().Save(second);
        TFormMain form(engine_, nullptr, first);
        form.show();
        QTRY_COMPARE(form.windowTitle(), QStringLiteral("Sorvane - first.SVZ"));
        form.Projects().UpdateCaption(second);  // another file at the head of the history
        form.Projects().UpdateCaption(first);
        form.Projects().OpenProjectFile(second);
        form.Projects().OpenProjectFile(first);
        const QStringList history = form.Config().History;
        Child<QLineEdit>(form, "EditWord")->setText(QStringLiteral("changed"));
        Child<QAction>(form, "ActionFileSave")->trigger();  // no dialog may appear
        QCOMPARE(form.windowTitle(), QStringLiteral("Sorvane - first.SVZ"));
        QCOMPARE(form.Config().History, history);
        TProject stored;
        stored.Load(first);
        QCOMPARE(stored.Word, QStringLiteral("changed"));
    }

    void saveAsPresetsTheCurrentName() {
        const QString first = Scratch(QStringLiteral("preset.SVZ"));
        TProject().Save(first);
        TFormMain form(engine_, nullptr, first);
        form.show();
        QTRY_COMPARE(form.windowTitle(), QStringLiteral("Sorvane - preset.SVZ"));
        QString preset;
        const QString copy = Scratch(QStringLiteral("copy.SVZ"));
        QFile::remove(copy);
        AnswerFileDialog(copy, &preset);
        Child<QAction>(form, "ActionFileSaveAs")->trigger();
        QCOMPARE(QFileInfo(preset).fileName(), QStringLiteral("preset.SVZ"));
        QCOMPARE(form.Project().FileName, copy);
        QCOMPARE(form.Config().History.mid(0, 2), QStringList({copy, first}));
    }

    void saveAsOfAnUntitledProjectProposesANewNameBesideTheLastProject() {
        const QString last = Scratch(QStringLiteral("last.SVZ"));
        TProject().Save(last);
        TFormMain form(engine_);
        StartWindow(form);
        form.Projects().UpdateCaption(last);  // the head of the history
        form.Projects().ActionFileNewExecute();
        QString preset;
        AnswerFileDialog(QString(), &preset);
        Child<QAction>(form, "ActionFileSaveAs")->trigger();
        QCOMPARE(preset,
                 QFileInfo(last).absolutePath() + QStringLiteral("/新しいプロジェクト.SVZ"));
    }

    void qtsOwnDialogTextsAreJapanese() {
        QVERIFY(SorvaneApplication::InstallQtTranslation());
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Save As"),
                 QStringLiteral("名前を付けて保存"));
    }

    void recentFilesMenuIsNumberedAndReopens() {
        TFormMain form(engine_);
        StartWindow(form);
        QVERIFY(ReopenCaptions(form).isEmpty());
        QStringList paths;
        for (int i = 0; i < 12; ++i) {
            paths << Scratch(QStringLiteral("recent%1.SVZ").arg(i));
            TProject project;
            project.Word = QString::number(i);
            project.Save(paths.last());
            form.Projects().OpenProjectFile(paths.last());
        }
        const QStringList captions = ReopenCaptions(form);
        QCOMPARE(captions.size(), 12);
        QCOMPARE(captions.first(), QStringLiteral("&0.") + paths[11]);
        QCOMPARE(captions.last(), QStringLiteral("&11.") + paths[0]);
        // The item at position 11 opens the oldest file, which moves to the head.
        Child<QMenu>(form, "MenuFileReOpen")->actions().at(11)->trigger();
        QCOMPARE(Child<QLineEdit>(form, "EditWord")->text(), QStringLiteral("0"));
        QCOMPARE(form.Config().History.first(), paths[0]);
        QCOMPARE(ReopenCaptions(form).first(), QStringLiteral("&0.") + paths[0]);
    }

    void missingRecentFileIsDroppedSilently() {
        TFormMain form(engine_);
        StartWindow(form);
        QStringList paths;
        for (int i = 0; i < 3; ++i) {
            paths << Scratch(QStringLiteral("drop%1.SVZ").arg(i));
            TProject().Save(paths.last());
            form.Projects().OpenProjectFile(paths.last());
        }
        // History: drop2, drop1, drop0. Delete drop1 and choose it.
        QVERIFY(QFile::remove(paths[1]));
        ReopenCaptions(form);
        form.statusBar()->clearMessage();
        Child<QMenu>(form, "MenuFileReOpen")->actions().at(1)->trigger();
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(Status(form), QString());
        QCOMPARE(form.windowTitle(), QStringLiteral("Sorvane - drop2.SVZ"));
        QCOMPARE(ReopenCaptions(form), QStringList({"&0." + paths[2], "&1." + paths[0]}));
    }

private:
    DesktopEngine engine_;
};

SORVANE_QTEST_MAIN(TestProjectCommands)
#include "TestProjectCommands.moc"
