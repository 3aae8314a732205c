// Renders a number through one section of a number code that is not a date: digit
// placeholders `0 # ?`, decimal point, grouping and scaling commas, percent, scientific
// notation and fractions, with the section's literal text in place.
#pragma once

#include "engine/format/FormatCode.h"

#include <QString>
#include <string>

namespace engine {

class NumberRenderer {
public:
    // `magnitude` is the absolute value; `negative` puts a minus sign in front unless the
    // value rounds to zero.
    static QString Render(const FormatSection& section, double magnitude, bool negative);

private:
    using Tokens = std::vector<FormatToken>;

    static QString RenderPlain(const FormatSection& section, double magnitude, bool& isZero);
    static QString RenderScientific(const FormatSection& section, double magnitude, bool& isZero);
    static QString RenderFraction(const FormatSection& section, double magnitude, bool& isZero);
    // Integer digits over the placeholders of tokens[begin, end): the first placeholder
    // takes any extra digits, missing ones are padded per placeholder.
    static void EmitInteger(const Tokens& tokens, size_t begin, size_t end,
                            const std::string& digits, bool grouping, QString& out);
    // Fraction digits over the placeholders of tokens[begin, end); trailing zeros follow
    // the placeholder (`0` shows them, `#` drops them, `?` turns them into spaces).
    static void EmitFraction(const Tokens& tokens, size_t begin, size_t end,
                             const std::string& digits, QString& out);
    static void EmitLiteral(const FormatToken& token, double magnitude, QString& out);
};

}  // namespace engine
