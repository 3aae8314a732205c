// What a cell index keeps of an open workbook to tell later, without reading it again, that
// a word cannot be found in it: for one look-in, the distinct texts Find compares, folded
// for the index, and the characters its number cells can show.
#pragma once

#include "engine/find/FindOptions.h"

#include <QString>
#include <optional>

namespace engine {

class Workbook;

struct BookTextList {
    // The texts, each followed by Separator.
    QString texts;
    // Folded characters that the book's number cells may show (none without numbers).
    QString numberAlphabet;
};

class BookTexts {
public:
    static constexpr QChar Separator = QChar(0x1F);
    // Past this many characters a workbook is not worth an index entry.
    static constexpr qsizetype MaxCharacters = qsizetype{4} << 20;

    // Reads every sheet. Nothing when the texts would not hold the next time the workbook is
    // opened (displayed values of formulas computed on opening) or are too many.
    static std::optional<BookTextList> Collect(Workbook& book, LookIn lookIn);
};

}  // namespace engine
