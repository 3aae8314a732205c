// Collects the text of a SpreadsheetML string item (`<si>`, `<is>`, a comment's `<text>`):
// its `<t>` and the `<t>` of its `<r>` runs, in order, leaving out the phonetic reading in
// `<rPh>` that the Japanese input method adds. Decodes the `_xHHHH_` escapes.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace engine {

class RichText {
public:
    // Element events from inside the item.
    void Start(std::string_view name);
    void End(std::string_view name);
    void Characters(std::string_view text);

    // The item's text so far, decoded; clears it for the next item.
    QString Take();

    // Decodes `_xHHHH_` (one UTF-16 unit) left to right; `_x005F_` gives `_`.
    static QString DecodeEscapes(std::string_view utf8);

private:
    std::string text_;
    int phoneticDepth_ = 0;
    int textDepth_ = 0;
};

}  // namespace engine
