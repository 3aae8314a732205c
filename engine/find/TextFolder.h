// Brings text to the form Find compares: code points, optionally with upper and lower case
// made equal and with half-width and full-width forms made equal (ASCII letters, digits and
// symbols, the space, the yen and other currency signs, katakana; a half-width kana with
// its voiced mark becomes the one full-width character).
#pragma once

#include <QChar>
#include <QStringView>
#include <string>

namespace engine {

class TextFolder {
public:
    TextFolder(bool matchCase, bool matchByte) : foldCase_(!matchCase), foldWidth_(!matchByte) {}

    // Appends the folded code points of `text` to `out`.
    void Append(QStringView text, std::u32string& out) const;
    // Appends `text` folded for a cell index: coarser than every option combination, and
    // character by character (a voiced kana becomes its base and the mark), so a text that
    // any Find matches holds the index form of the word's literal parts as they stand.
    // Every digit becomes 0: a column of numbers or of formulas that differ only in their
    // row numbers then folds to a handful of texts.
    static void AppendForIndex(QStringView text, QString& out);
    // The folded code point that starts at unit `i` of a text of `size` units read through
    // `unit(i)`, as Append folds it, and the units it takes (a surrogate pair, a half-width
    // kana with its voiced mark): lets a text be folded as it is scanned, never copied.
    template <typename Unit>
    char32_t FoldAt(const Unit& unit, qsizetype size, qsizetype i, qsizetype& length) const {
        char32_t c = unit(i);
        length = 1;
        if (c < 0x80) {
            return FoldCase(c);
        }
        if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(unit(i + 1))) {
            c = QChar::surrogateToUcs4(char16_t(c), unit(i + 1));
            length = 2;
        }
        char32_t folded = FoldCase(foldWidth_ ? FoldWidth(c) : c);
        if (foldWidth_ && i + length < size) {
            if (const char32_t voiced = Combine(folded, unit(i + length))) {
                folded = voiced;
                ++length;
            }
        }
        return folded;
    }

private:
    char32_t FoldCase(char32_t c) const {
        if (c < 0x80) {
            return foldCase_ && c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
        }
        return foldCase_ && !Caseless(c) ? FoldCaseTable(c) : c;
    }

    // The full-width or narrow form a width-folded comparison uses.
    static char32_t FoldWidth(char32_t c);
    // The voiced kana `base` becomes with the half-width mark `mark`, or 0.
    static char32_t Combine(char32_t base, char32_t mark);
    // Kana, CJK symbols and ideographs, and Hangul syllables have no case: most of a
    // Japanese text skips the case table.
    static bool Caseless(char32_t c) {
        return (c >= 0x3000 && c < 0xA000) || (c >= 0xAC00 && c < 0xD7A4);
    }
    static char32_t FoldCaseTable(char32_t c);

    bool foldCase_;
    bool foldWidth_;
};

}  // namespace engine
