// Fills the result list with 200,000 rows the way a search does (rows appended one by one,
// shown when due at each message pump) and then scrolls through it page by page, repainting each
// page, to show the list stays responsive. Prints the slowest pump and frame.
//   result_list_bench [ROWS] [ROWS_PER_PUMP]    (run under xvfb-run or QT_QPA_PLATFORM=offscreen)
#include "app/ResultListModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTreeView>
#include <algorithm>
#include <cstdio>

namespace {

ResultRow Row(int i) {
    return ResultRow{QStringLiteral("/data/books/請求書_%1.xlsx").arg(i / 1000),
                     QString::number(i % 5 + 1),
                     QStringLiteral("Sheet%1").arg(i % 5 + 1),
                     QStringLiteral("H"),
                     QString::number(i % 50000 + 1),
                     QStringLiteral("見つける frequent %1").arg(i),
                     QStringLiteral("=\"frequent \"&A%1").arg(i % 50000 + 1),
                     QString()};
}

struct Timing {
    double total = 0;
    double slowest = 0;
    int count = 0;

    void Add(double ms) {
        total += ms;
        slowest = std::max(slowest, ms);
        ++count;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 200000;
    const int perPump = argc > 2 ? std::atoi(argv[2]) : 200;

    ResultListModel model;
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setRootIsDecorated(false);
    view.setModel(&model);
    view.resize(1000, 700);
    view.show();
    QApplication::processEvents();

    QElapsedTimer clock;
    Timing pumps;
    for (int i = 0; i < rows;) {
        clock.start();
        for (int end = std::min(rows, i + perPump); i < end; ++i) {
            model.AppendRow(Row(i));
        }
        model.FlushWhenDue();
        QApplication::processEvents();
        pumps.Add(clock.nsecsElapsed() / 1e6);
    }

    model.Flush();
    QApplication::processEvents();

    Timing frames;
    QScrollBar* bar = view.verticalScrollBar();
    for (int value = 0; value <= bar->maximum(); value += std::max(1, bar->pageStep())) {
        clock.start();
        bar->setValue(value);
        view.viewport()->repaint();
        frames.Add(clock.nsecsElapsed() / 1e6);
    }
    std::printf("rows %d, %d per pump: fill %.0f ms in %d pumps, slowest pump %.1f ms\n",
                model.rowCount(), perPump, pumps.total, pumps.count, pumps.slowest);
    std::printf("scroll %d pages: mean %.2f ms per frame, slowest %.2f ms\n", frames.count,
                frames.total / frames.count, frames.slowest);
    return 0;
}
