// Feeds arbitrary bytes to the BIFF reader as a workbook stream: the globals, then every
// worksheet with its cells, formulas and notes, then searched as a run searches it. Damaged
// globals must end in ReadError, a damaged sheet in the workbook's EngineError.
#include "engine/model/BookReader.h"
#include "engine/model/EngineError.h"
#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/xls/XlsGlobals.h"
#include "engine/readers/xls/XlsSheetReader.h"
#include "tests/fuzz/FuzzFind.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// Reads the sheets of an in-memory stream, as XlsReader does for a file.
class StreamBookReader : public engine::BookReader {
public:
    explicit StreamBookReader(engine::XlsGlobals& globals) : globals_(globals) {}
    void ReadWorkbook(engine::Workbook& book) override { globals_.FillWorkbook(book); }
    void ReadWorksheet(int index, engine::Workbook& book, engine::Worksheet& sheet) override {
        engine::XlsSheetReader(globals_, book, sheet).Read(globals_.WorksheetOffset(index));
    }

private:
    engine::XlsGlobals& globals_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        engine::XlsGlobals globals(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
        auto reader = std::make_unique<StreamBookReader>(globals);
        StreamBookReader* raw = reader.get();
        engine::Workbook book(QStringLiteral("fuzz.xls"), std::move(reader));
        raw->ReadWorkbook(book);
        for (int i = 0; i < book.SheetCount(); ++i) {
            try {
                fuzzsearch::FindEverywhere(book, book.Sheet(i));
            } catch (const engine::EngineError&) {
            }
        }
    } catch (const engine::ReadError&) {
    }
    return 0;
}
