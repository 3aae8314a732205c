// Turns the parsed-token form of an .xls formula (reverse Polish Ptg tokens) back into the
// text the formula bar shows, without the leading "=": English function names, A1-style
// references, the user's own parentheses and spaces. Parentheses are never added from
// operator precedence: the file stores the typed ones as tokens.
#pragma once

#include "engine/readers/xls/BiffReference.h"

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace engine {

class CodePage;
class XlsLinkTable;

class FormulaDecompiler {
public:
    enum class Version { Biff5, Biff8 };

    // `codePage` decodes BIFF5 string constants.
    FormulaDecompiler(const XlsLinkTable& links, Version version, CodePage& codePage);

    // `tokens` is the formula's token stream and `extra` the data stored after it (array
    // constants, area lists). `row` and `column` (0-based) are the cell the text is for: the
    // relative parts of shared-formula references are offsets from it. A token this
    // decompiler does not know ends the text with a visible placeholder. Raises
    // ReadError for a token stream that ends mid-token or leaves no single value.
    QString Decompile(QByteArrayView tokens, QByteArrayView extra, int row, int column);

    // "#DIV/0!" and the other error values by their stored code.
    static QString ErrorText(uint8_t code);

private:
    // A new operand on top of the stack, empty.
    std::u16string& Slot();
    // Raises ReadError when the stack holds fewer than `count` operands.
    void Require(size_t count) const;
    std::u16string& Top();

    const XlsLinkTable& links_;
    Version version_;
    CodePage& codePage_;
    BiffReference reference_;
    // The operand texts of the formula being read: the first `depth_` are live. The strings
    // outlive a formula so the next one reuses their buffers instead of allocating. They are
    // standard strings, whose appends of a few characters cost far less than QString's; the
    // finished text becomes a QString once.
    std::vector<std::u16string> stack_;
    size_t depth_ = 0;
    std::u16string scratch_;  // a function call is put together here, then swapped in
};

}  // namespace engine
