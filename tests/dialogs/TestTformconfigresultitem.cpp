#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "dialogs/HelpViewer.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/Tformconfigresultitem.h"
#include "storage/Tconfig.h"
#include "tests/support/TestEnvironment.h"

using Widths = std::vector<int32_t>;
Q_DECLARE_METATYPE(Widths)
Q_DECLARE_METATYPE(std::set<int>)

namespace {

const Widths kDefaults(DefaultResultItemColWidth.begin(), DefaultResultItemColWidth.end());

}  // namespace

class TestTformconfigresultitem : public QObject {
    Q_OBJECT

private slots:
    // The column command: widths → choice → dialog → (OK) choice → widths.
    void theDialogTurnsWidthsIntoAChoiceAndBack_data() {
        QTest::addColumn<Widths>("before");
        QTest::addColumn<std::set<int>>("shownInDialog");
        QTest::addColumn<std::set<int>>("toggled");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<Widths>("after");
        const std::set<int> all = {0, 1, 2, 3, 4, 5, 6, 7};
        QTest::newRow("all cleared hides every column")
            << kDefaults << all << all << true << Widths(8, 0);
        QTest::newRow("a column switched on again comes back at its default width")
            << Widths{56, 44, 56, 28, 28, 0, 70, 78} << std::set<int>{0, 1, 2, 3, 4, 6, 7}
            << std::set<int>{5} << true << kDefaults;
        QTest::newRow("a column that stays on keeps its width")
            << Widths{56, 44, 45, 0, 28, 60, 70, 78} << std::set<int>{0, 1, 2, 4, 5, 6, 7}
            << std::set<int>{3} << true << Widths{56, 44, 45, 28, 28, 60, 70, 78};
        QTest::newRow("a negative width is shown and replaced by the default")
            << Widths{56, 44, -5, 28, 28, 60, 70, 78} << all << std::set<int>{} << true
            << kDefaults;
        QTest::newRow("cancel changes nothing")
            << Widths{56, 44, -5, 0, 28, 60, 70, 78} << std::set<int>{0, 1, 2, 4, 5, 6, 7} << all
            << false << Widths{56, 44, -5, 0, 28, 60, 70, 78};
    }
    void theDialogTurnsWidthsIntoAChoiceAndBack() {
        QFETCH(Widths, before);
        QFETCH(std::set<int>, shownInDialog);
        QFETCH(std::set<int>, toggled);
        QFETCH(bool, ok);
        QFETCH(Widths, after);
        TConfig config;
        config.ResultItemColWidth = before;
        TFormConfigResultItem dialog(nullptr);
        dialog.SetChoice({0, 1, 2, 3, 4, 5, 6, 7});  // a choice replaces, never adds to, the last
        dialog.SetChoice(config.VisibleResultColumns());
        QCOMPARE(dialog.Choice(), shownInDialog);
        QTimer::singleShot(0, &dialog, [&] {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("CheckListBox1"));
            for (int i : toggled) {
                QListWidgetItem* item = list->item(i);
                item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked
                                                                      : Qt::Checked);
            }
            if (ok) {
                QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("BitBtn1")),
                                  Qt::LeftButton);
            } else {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            }
        });
        if (dialog.exec() == QDialog::Accepted) {
            config.SetVisibleResultColumns(dialog.Choice());
        }
        QCOMPARE(config.ResultItemColWidth, after);
    }

    void f1OpensHelpTopic7() {
        TFormConfigResultItem dialog(nullptr);
        dialog.show();
        QTest::keyClick(dialog.findChild<QListWidget*>(QStringLiteral("CheckListBox1")),
                        Qt::Key_F1);
        auto* help = dialog.findChild<HelpWindow*>();
        QVERIFY(help != nullptr);
        QCOMPARE(help->Page(), HelpTopicUrl(7));
        // A second F1 brings the same window back.
        QTest::keyClick(dialog.findChild<QListWidget*>(QStringLiteral("CheckListBox1")),
                        Qt::Key_F1);
        QCOMPARE(dialog.findChildren<HelpWindow*>().size(), 1);
    }
};

SORVANE_QTEST_MAIN(TestTformconfigresultitem)
#include "TestTformconfigresultitem.moc"
