// The search word of one Find, folded once: `*` any run of characters, `?` one character,
// `~` makes the next character literal. Matches a whole compared text (LookAt whole) or any
// part of it; an empty text never matches.
#pragma once

#include "engine/find/TextFolder.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <string>

namespace engine {

class FindPattern {
public:
    FindPattern(const QString& what, bool whole, TextFolder folder);
    FindPattern(const FindPattern&) = delete;
    FindPattern& operator=(const FindPattern&) = delete;

    // Whether `prefix` followed by `text` matches (the prefix carries a formula's "=").
    bool Matches(QStringView prefix, QStringView text) const;
    bool Matches(QStringView text) const { return Matches({}, text); }
    // False when the word needs a character outside `alphabet`, so no text made only of
    // those characters can match (lets a Find skip rendering such texts at all).
    bool CouldMatchWithin(QStringView alphabet) const;
    // The word's literal parts, wildcards taken out and escapes resolved: every text the
    // word matches holds each of them (folded as the options say).
    static QStringList LiteralRuns(const QString& what);

private:
    bool MatchGlob(std::u32string_view text) const;
    // A whole or part match of a word without wildcards: the text is folded as it is
    // scanned, never copied.
    bool MatchesInPlace(QStringView prefix, QStringView text) const;

    TextFolder folder_;
    bool whole_;
    std::u32string tokens_;  // folded; AnyRun and AnyOne stand for the wildcards
    bool hasWildcard_ = false;
    bool scansInPlace_ = false;            // a word without wildcards: MatchesInPlace answers
    std::array<bool, 0x80> firstAscii_{};  // the ASCII units that fold to the word's first
    mutable std::u32string buffer_;        // reused for each compared text
};

}  // namespace engine
