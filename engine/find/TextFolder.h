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

private:
    bool foldCase_;
    bool foldWidth_;
};

}  // namespace engine
