// Feeds arbitrary bytes to the .csv reader through a file, then looks at every cell the way
// the search does (displayed and formula text) and runs a wildcard Find over the sheet.
// Only the engine's own TooLarge error may come out.
#include "engine/CellText.h"
#include "engine/EngineError.h"
#include "engine/RangeFinder.h"
#include "engine/Workbook.h"
#include "engine/csv/CsvReader.h"

#include <QFile>
#include <QTemporaryFile>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryFile file;
    if (!file.isOpen() && !file.open()) {
        return 0;
    }
    file.resize(0);
    file.seek(0);
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.flush();
    try {
        auto reader = std::make_unique<engine::CsvReader>(file.fileName(),
                                                          engine::CsvLimits{1 << 20, 100000});
        engine::CsvReader& csv = *reader;
        engine::Workbook book(file.fileName(), std::move(reader));
        csv.ReadWorkbook(book);
        const engine::Worksheet& sheet = book.Sheet(0);
        for (const engine::Cell& cell : sheet.Cells()) {
            engine::CellText::Text(book, cell);
            engine::CellText::Formula(book, cell);
        }
        engine::FindOptions options;
        options.what = QStringLiteral("*a?~*");
        engine::RangeFinder(book, sheet, sheet.UsedRange(), options).Next({1, 1});
    } catch (const engine::EngineError& e) {
        if (e.Kind() != engine::EngineErrorKind::TooLarge) {
            __builtin_trap();
        }
    }
    return 0;
}
