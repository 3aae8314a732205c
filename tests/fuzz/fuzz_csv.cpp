// Feeds arbitrary bytes to the .csv reader through a file, then looks at every cell the way
// the search does: every look-in's Find over the sheet, each match's texts rendered.
// Only the engine's own TooLarge error may come out.
#include "engine/model/CellText.h"
#include "engine/model/EngineError.h"
#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/csv/CsvReader.h"
#include "tests/fuzz/FuzzFind.h"

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
        fuzzsearch::FindEverywhere(book, book.Sheet(0));
    } catch (const engine::ReadError& e) {
        if (e.Kind() != engine::EngineErrorKind::TooLarge) {
            __builtin_trap();
        }
    } catch (const engine::EngineError& e) {
        if (e.Kind() != engine::EngineErrorKind::TooLarge) {
            __builtin_trap();
        }
    }
    return 0;
}
