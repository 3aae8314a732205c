// Runs one search through the main window, offscreen, the way a user starts it (conditions in
// the controls, the start action), and exits when the run has ended. Timed from outside next
// to the command line's run on the same corpus, it shows what the window costs on top:
//   farm-bench --vs 'sorvane-search -s --no-index --look-in values DIR WORD'
//     -- window_search_bench DIR WORD values
// Settings go to a scratch folder, so the user's own are not touched; the cell index is
// off, so every run reads every workbook as the command line's --no-index does.
#include "app/DesktopEngine.h"
#include "app/ResultListModel.h"
#include "app/Tformmain.h"
#include "engine/readers/AllocatorTuning.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_search_bench FOLDER WORD [formulas|values|comments]\n");
        return 2;
    }
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    qputenv("XDG_CACHE_HOME", settings.path().toLocal8Bit());
    QDir().mkpath(settings.path() + QStringLiteral("/Tavrick/Sorvane"));
    QFile ini(settings.path() + QStringLiteral("/Tavrick/Sorvane/Sorvane.ini"));
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[SEARCH]\r\nUseSearchIndex=0\r\n") < 0) {
        std::fprintf(stderr, "window_search_bench: cannot write the settings\n");
        return 2;
    }
    ini.close();
    QApplication app(argc, argv);
    engine::KeepFreedReadBuffers();  // as the program's entry does
    DesktopEngine engine;
    TFormMain form(engine);
    form.show();
    // The first idle step starts a new project; the conditions are set after it.
    while (form.statusBar()->currentMessage().isEmpty()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    const QString lookIn = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("formulas");
    form.findChild<QLineEdit*>(QStringLiteral("EditFolder"))
        ->setText(QString::fromLocal8Bit(argv[1]));
    form.findChild<QLineEdit*>(QStringLiteral("EditWord"))
        ->setText(QString::fromLocal8Bit(argv[2]));
    form.findChild<QCheckBox*>(QStringLiteral("CheckBoxBookSearchSubDir"))->setChecked(true);
    form.findChild<QComboBox*>(QStringLiteral("ComboBoxFindLookIn"))
        ->setCurrentIndex(lookIn == u"values"     ? 1
                          : lookIn == u"comments" ? 2
                                                  : 0);

    QElapsedTimer clock;
    clock.start();
    form.findChild<QAction*>(QStringLiteral("ActionBookSearchStart"))->trigger();
    std::printf("%d hits in %d books, %.3f s\n", form.Results().HitCount(),
                form.Results().BookCount(), clock.elapsed() / 1000.0);
    return 0;
}
