#include <QApplication>
#include <QCheckBox>
#include <QCommandLinkButton>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "dialogs/HelpViewer.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/Tformconfiggeneral.h"
#include "storage/Tconfig.h"
#include "tests/support/TestEnvironment.h"

namespace {

template <typename Widget>
Widget* Child(const QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QLatin1String(name));
    if (widget == nullptr) {
        qFatal("no control %s", name);
    }
    return widget;
}

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString DataHome() {
    return QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME"));
}
QString ConfigHome() {
    return QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
}

}  // namespace

class TestTformconfiggeneral : public QObject {
    Q_OBJECT

private slots:
    void alwaysOpensOnTheFirstPage() {
        {
            TFormConfigGeneral used(nullptr);
            Child<QTabWidget>(used, "PageControl1")->setCurrentIndex(2);
        }
        TFormConfigGeneral dialog(nullptr);
        dialog.show();
        const auto* pages = Child<QTabWidget>(dialog, "PageControl1");
        QCOMPARE(pages->tabText(pages->currentIndex()), QStringLiteral("起動時(&1)"));
    }

    void loadAndStoreMapEachBoxToItsSetting_data() {
        QTest::addColumn<bool>("projectFileRestore");
        QTest::addColumn<bool>("windowPositionRestore");
        QTest::addColumn<bool>("inTaskTray");
        for (int bits = 0; bits < 8; ++bits) {
            QTest::addRow("%d%d%d", bits & 1, (bits >> 1) & 1, (bits >> 2) & 1)
                << bool(bits & 1) << bool(bits & 2) << bool(bits & 4);
        }
    }
    void loadAndStoreMapEachBoxToItsSetting() {
        QFETCH(bool, projectFileRestore);
        QFETCH(bool, windowPositionRestore);
        QFETCH(bool, inTaskTray);
        TConfig source;
        source.ProjectFileRestore = projectFileRestore;
        source.WindowPositionRestore = windowPositionRestore;
        source.InTaskTray = inTaskTray;
        TFormConfigGeneral dialog(nullptr);
        dialog.LoadConfig(source);
        QCOMPARE(Child<QCheckBox>(dialog, "CheckBoxProjectFileRestore")->isChecked(),
                 projectFileRestore);
        QCOMPARE(Child<QCheckBox>(dialog, "CheckBoxWindowPositionRestore")->isChecked(),
                 windowPositionRestore);
        QCOMPARE(Child<QCheckBox>(dialog, "CheckBoxInTaskTray")->isChecked(), inTaskTray);

        TConfig target;
        target.ProjectFileRestore = !projectFileRestore;
        target.WindowPositionRestore = !windowPositionRestore;
        target.InTaskTray = !inTaskTray;
        target.ShowStayOnTop = true;
        dialog.StoreConfig(target);
        QCOMPARE(target.ProjectFileRestore, projectFileRestore);
        QCOMPARE(target.WindowPositionRestore, windowPositionRestore);
        QCOMPARE(target.InTaskTray, inTaskTray);
        QVERIFY(target.ShowStayOnTop);  // not the dialog's
    }

    // The settings are copied back only after OK; every other way out rejects the dialog.
    void onlyOkAcceptsTheChanges_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("result");
        QTest::newRow("OK") << "BitBtn1" << int(QDialog::Accepted);
        QTest::newRow("Cancel") << "BitBtn2" << int(QDialog::Rejected);
        QTest::newRow("Esc") << "Escape" << int(QDialog::Rejected);
    }
    void onlyOkAcceptsTheChanges() {
        QFETCH(QString, way);
        QFETCH(int, result);
        TConfig config;
        config.ProjectFileRestore = config.WindowPositionRestore = config.InTaskTray = true;
        TFormConfigGeneral dialog(nullptr);
        dialog.LoadConfig(config);
        QTimer::singleShot(0, &dialog, [&] {
            for (const char* name : {"CheckBoxProjectFileRestore", "CheckBoxWindowPositionRestore",
                                     "CheckBoxInTaskTray"}) {
                Child<QCheckBox>(dialog, name)->setChecked(false);
            }
            if (way == QLatin1String("Escape")) {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            } else {
                QTest::mouseClick(Child<QPushButton>(dialog, qPrintable(way)), Qt::LeftButton);
            }
        });
        const int closedWith = dialog.exec();
        QCOMPARE(closedWith, result);
        if (closedWith == QDialog::Accepted) {
            dialog.StoreConfig(config);
        }
        QCOMPARE(config.ProjectFileRestore, result == QDialog::Rejected);
        QCOMPARE(config.InTaskTray, result == QDialog::Rejected);
    }

    // The real TaskRelay beside this test executable registers it in the scratch XDG folders.
    void theAssociationButtonsActAtOnceAndKeepTheDialogOpen() {
        const QString entry = DataHome() + QStringLiteral("/applications/sorvane.desktop");
        const QString mimeApps = ConfigHome() + QStringLiteral("/mimeapps.list");
        TFormConfigGeneral dialog(nullptr);
        bool openAfterSet = false;
        QString entryText;
        QString mimeAppsText;
        QTimer::singleShot(0, &dialog, [&] {
            Child<QTabWidget>(dialog, "PageControl1")->setCurrentIndex(1);
            QTest::mouseClick(Child<QCommandLinkButton>(dialog, "ButtonLinkSet"), Qt::LeftButton);
            openAfterSet = dialog.isVisible();
            entryText = ReadText(entry);
            mimeAppsText = ReadText(mimeApps);
            QTest::mouseClick(Child<QCommandLinkButton>(dialog, "ButtonLinkUnSet"), Qt::LeftButton);
            QTest::mouseClick(Child<QPushButton>(dialog, "BitBtn2"), Qt::LeftButton);
        });
        dialog.exec();
        QVERIFY(openAfterSet);
        QVERIFY2(
            entryText.contains(
                QStringLiteral("\nExec=\"%1\" %f\n").arg(QCoreApplication::applicationFilePath())),
            qPrintable(entryText));
        QVERIFY(
            mimeAppsText.contains(QStringLiteral("application/x-sorvane-project=sorvane.desktop")));
        QVERIFY(!QFile::exists(entry));
        QVERIFY(!ReadText(mimeApps).contains(QStringLiteral("sorvane.desktop")));
    }

    void helpOpensTopic6_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("Help button") << false;
        QTest::newRow("F1") << true;
    }
    void helpOpensTopic6() {
        QFETCH(bool, byKey);
        TFormConfigGeneral dialog(nullptr);
        dialog.show();
        if (byKey) {
            QTest::keyClick(Child<QCheckBox>(dialog, "CheckBoxProjectFileRestore"), Qt::Key_F1);
        } else {
            QTest::mouseClick(Child<QPushButton>(dialog, "BitBtn3"), Qt::LeftButton);
        }
        auto* help = dialog.findChild<HelpWindow*>();
        QVERIFY(help != nullptr);
        QVERIFY(help->isVisible());
        QCOMPARE(help->Page(), HelpTopicUrl(6));
        QVERIFY(help->Page().toLocalFile().endsWith(QLatin1String("/help/topic6.html")));
        QVERIFY(dialog.isVisible());
    }
};

SORVANE_QTEST_MAIN(TestTformconfiggeneral)
#include "TestTformconfiggeneral.moc"
