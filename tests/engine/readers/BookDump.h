// A workbook model as text, one line per cell or note with strings resolved, so tests can
// compare what two ways of reading a file produced.
#pragma once

#include "engine/model/Workbook.h"

#include <sstream>
#include <string>

namespace testbook {

inline std::string DumpSheet(const engine::Workbook& book, const engine::Worksheet& sheet) {
    std::ostringstream out;
    for (const engine::Cell& cell : sheet.Cells()) {
        out << cell.row << "," << cell.column << " t" << int(cell.type) << " f" << cell.format
            << " n" << cell.number << " '" << book.String(cell.text).toStdString()
            << "' =" << book.String(cell.formula).toStdString() << "\n";
    }
    return out.str();
}

// Every sheet (read on the way) with its name, used range, cells and notes.
inline std::string DumpBook(engine::Workbook& book) {
    std::ostringstream out;
    for (int i = 0; i < book.SheetCount(); ++i) {
        const engine::Worksheet& sheet = book.Sheet(i);
        const engine::CellRect& used = sheet.UsedRange();
        out << "sheet " << sheet.Name().toStdString() << " " << used.top << "," << used.left << ":"
            << used.bottom << "," << used.right << "\n"
            << DumpSheet(book, sheet);
        for (const engine::CellNote& note : sheet.Notes()) {
            out << "note " << note.row << "," << note.column << " " << note.text.toStdString()
                << "\n";
        }
    }
    return out.str();
}

}  // namespace testbook
