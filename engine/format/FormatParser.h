// Parses a number-format code ("#,##0.00;[Red]-#,##0.00", "yyyy/m/d h:mm", "\"ID-\"@")
// into sections of tokens. A code that cannot be parsed gives an empty FormatCode, which
// the formatter shows as General.
#pragma once

#include "engine/format/FormatCode.h"

#include <QStringView>

namespace engine {

class FormatParser {
public:
    // Codes longer than this are not parsed (the application itself stops at 255).
    static constexpr qsizetype MaxCodeLength = 1024;

    static FormatCode Parse(QStringView code);

private:
    static bool ParseSection(QStringView text, FormatSection& section);
    static bool ParseBracket(QStringView content, FormatSection& section);
    static void ResolveMinutes(FormatSection& section);
    static void ResolveNumberParts(FormatSection& section);
};

}  // namespace engine
