// Opens and searches large .xlsx workbooks the way a search with LookIn = values does (every
// cell's displayed text compared with a word) and reports the throughput: MB/s of compressed
// input, nanoseconds per cell and the peak resident memory.
//   xlsx_bench [WORKBOOK...]
// Without arguments it writes a 50,000 × 10 workbook (numbers, dates, text, formulas) with
// libxlsxwriter into the temporary folder and measures that. Results are printed, not kept.
#include "engine/model/CellText.h"
#include "engine/model/EngineError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/BookOpener.h"

#include <sys/resource.h>
#include <xlsxwriter.h>
#include <QDir>
#include <QFileInfo>
#include <QString>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

constexpr int Rows = 50000;
constexpr int Columns = 10;

QString WriteLargeWorkbook() {
    const QString path = QDir::tempPath() + QStringLiteral("/sorvane-bench-50000x10.xlsx");
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(path.toUtf8().constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Data");
    lxw_format* money = workbook_add_format(workbook);
    format_set_num_format(money, "#,##0.00");
    lxw_format* date = workbook_add_format(workbook);
    format_set_num_format_index(date, 14);
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            const int kind = (row + column) % 5;
            const std::string text =
                "品目" + std::to_string(row * 7 % 1009) + (row % 5 == 0 ? " frequent" : "");
            switch (kind) {
                case 0:
                    worksheet_write_number(sheet, row, column, row * 1.25, money);
                    break;
                case 1:
                    worksheet_write_number(sheet, row, column, 45000 + row % 3000, date);
                    break;
                case 2:
                    worksheet_write_string(sheet, row, column, text.c_str(), nullptr);
                    break;
                case 3:
                    worksheet_write_formula_num(sheet, row, column, "=A1*2+B1", nullptr, row * 2.5);
                    break;
                default:
                    worksheet_write_number(sheet, row, column, row % 97, nullptr);
                    break;
            }
        }
    }
    workbook_close(workbook);
    return path;
}

long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void Measure(const QString& path, const QString& word) {
    const auto start = std::chrono::steady_clock::now();
    size_t cells = 0;
    size_t hits = 0;
    try {
        const auto book = engine::OpenWorkbook(path);
        for (int i = 0; i < book->SheetCount(); ++i) {
            for (const engine::Cell& cell : book->Sheet(i).Cells()) {
                ++cells;
                hits += engine::CellText::Text(*book, cell).contains(word) ? 1 : 0;
            }
        }
    } catch (const engine::EngineError& error) {
        std::printf("%s: %s\n", qPrintable(path), qPrintable(error.Message()));
        return;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double megabytes = static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);
    std::printf(
        "%s\n  %.2f MB compressed, %zu cells, %zu hits, %.3f s\n"
        "  %.1f MB/s compressed, %.0f ns per cell, peak RSS %.1f MB\n",
        qPrintable(QFileInfo(path).fileName()), megabytes, cells, hits, seconds,
        megabytes / seconds, seconds * 1e9 / static_cast<double>(cells ? cells : 1),
        static_cast<double>(PeakResidentKiB()) / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    const QString word = QStringLiteral("frequent");
    if (argc < 2) {
        Measure(WriteLargeWorkbook(), word);
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        Measure(QString::fromLocal8Bit(argv[i]), word);
    }
    return 0;
}
