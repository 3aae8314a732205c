// Reads arbitrary bytes as a worksheet part twice, in one pass and split into two halves read
// at once, and requires the same outcome: the same cells with the same texts and formulas, or
// a ReadError from both. The split reader must never find what one pass does not.
#include "engine/model/EngineError.h"
#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/xlsx/WorksheetSplit.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace {

using namespace engine;

// The sheet read from `xml`, every cell as one line; "error" when reading failed.
std::string Read(std::string_view xml, bool split) {
    Workbook book(QStringLiteral("fuzz.xlsx"), nullptr);
    const std::vector<uint32_t> shared = {book.AddString(QStringLiteral("a")),
                                          book.AddString(QStringLiteral("b"))};
    const std::vector<uint32_t> formats = {0, book.AddFormat(QStringLiteral("0.0"))};
    const WorksheetPart::Context context{shared, formats, false, xml.size()};
    Worksheet sheet(QStringLiteral("Sheet1"));
    try {
        if (split) {
            WorksheetSplit::Read(book, sheet, context, QStringLiteral("sheet1.xml"), xml);
        } else {
            WorksheetPart part(book, sheet, context, QStringLiteral("sheet1.xml"));
            part.Feed(xml);
            part.Finish();
        }
        sheet.Finish();
    } catch (const ReadError&) {
        return "error";
    }
    std::string out;
    for (const Cell& cell : sheet.Cells()) {
        out += std::to_string(cell.row) + "," + std::to_string(cell.column) + " " +
               std::to_string(int(cell.type)) + " " + std::to_string(cell.number) + " " +
               book.String(cell.text).toStdString() + " =" +
               book.String(cell.formula).toStdString() + "\n";
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view xml(reinterpret_cast<const char*>(data), size);
    if (Read(xml, false) != Read(xml, true)) {
        std::abort();
    }
    return 0;
}
