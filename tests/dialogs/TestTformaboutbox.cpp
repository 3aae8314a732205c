#include <QApplication>
#include <QLabel>
#include <QTest>

#include "dialogs/Tformaboutbox.h"
#include "storage/Exception.h"
#include "tests/support/TestEnvironment.h"

class TestTformaboutbox : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QGuiApplication::setApplicationDisplayName(QStringLiteral("Sorvane")); }

    void showsTitleVersionCopyrightAndComment() {
        TFormAboutBox box(nullptr);
        QCOMPARE(box.windowTitle(), QStringLiteral("バージョン情報"));
        QCOMPARE(box.size(), QSize(273, 195));
        QCOMPARE(box.findChild<QLabel*>(QStringLiteral("ProductName"))->text(),
                 QStringLiteral("Sorvane"));
        QCOMPARE(box.findChild<QLabel*>(QStringLiteral("Version"))->text(),
                 QStringLiteral("バージョン 0.1.0.0"));
        QCOMPARE(box.findChild<QLabel*>(QStringLiteral("Copyright"))->text(),
                 QStringLiteral("(C) Tavrick"));
        const auto* comments = box.findChild<QLabel*>(QStringLiteral("Comments"));
        QCOMPARE(comments->text(), QStringLiteral("フォルダ中のExcelファイルを一括検索する"));
        QVERIFY(comments->wordWrap());
    }

    void withoutABlockNoBoxIsMade() {
        const int before = QApplication::topLevelWidgets().size();
        try {
            TFormAboutBox box(nullptr, QStringLiteral("/bin/true"));
            QFAIL("the box opened without a version block");
        } catch (const Exception& error) {
            QCOMPARE(error.Message(), QStringLiteral("バージョン情報を取得できません"));
        }
        QCOMPARE(QApplication::topLevelWidgets().size(), before);
    }
};

SORVANE_QTEST_MAIN(TestTformaboutbox)
#include "TestTformaboutbox.moc"
