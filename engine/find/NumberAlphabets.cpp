#include "engine/find/NumberAlphabets.h"

#include "engine/format/NumberFormatter.h"
#include "engine/model/CellText.h"
#include "engine/model/Workbook.h"

namespace engine {

QString DisplayedNumberAlphabet(const Workbook& book, const Cell& cell) {
    return CellText::HasGeneralFormat(book, cell)
               ? GeneralNumberAlphabet.toString()
               : NumberFormatter::NumberAlphabet(book.Format(cell.format));
}

}  // namespace engine
