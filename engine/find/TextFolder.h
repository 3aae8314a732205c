// Brings text to the form Find compares: code points, optionally with upper and lower case
// made equal and with half-width and full-width forms made equal (ASCII letters, digits and
// symbols, the space, the yen and other currency signs, katakana; a half-width kana with
// its voiced mark becomes the one full-width character).
#pragma once

#include <QStringView>
#include <string>

namespace engine {

class TextFolder {
public:
    TextFolder(bool matchCase, bool matchByte) : foldCase_(!matchCase), foldWidth_(!matchByte) {}

    // Appends the folded code points of `text` to `out`.
    void Append(QStringView text, std::u32string& out) const;
    // Without width folding each code point folds by itself: FoldCase is then the whole
    // folding, and a text can be folded as it is read.
    bool FoldsWidth() const { return foldWidth_; }
    char32_t FoldCase(char32_t c) const {
        if (c < 0x80) {
            return foldCase_ && c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
        }
        return foldCase_ && !Caseless(c) ? FoldCaseTable(c) : c;
    }

private:
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
