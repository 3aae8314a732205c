#include "engine/find/FindPattern.h"

#include <algorithm>

namespace engine {
namespace {

// Outside the Unicode range, so no folded character can equal them.
constexpr char32_t AnyRun = 0x110000;
constexpr char32_t AnyOne = 0x110001;

// Splits the word into its literal runs (escapes resolved) and the wildcards between them.
template <typename Literal, typename Wildcard>
void Tokenize(const QString& what, const Literal& onLiteral, const Wildcard& onWildcard) {
    std::u32string literal;
    const std::u32string word = what.toStdU32String();
    for (size_t i = 0; i < word.size(); ++i) {
        const char32_t c = word[i];
        const char32_t next = i + 1 < word.size() ? word[i + 1] : 0;
        if (c == U'~' && (next == U'*' || next == U'?' || next == U'~')) {
            literal.push_back(next);
            ++i;
        } else if (c == U'*' || c == U'?') {
            onLiteral(literal);
            literal.clear();
            onWildcard(c);
        } else {
            literal.push_back(c);
        }
    }
    onLiteral(literal);
}

QString FromUcs4(const std::u32string& text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

// From `i` on, the first unit of `text` that may start a word beginning with an ASCII
// character: one in `firstAscii`, or one past ASCII that is no kana, CJK symbol or
// ideograph (those never fold to ASCII). Long texts are mostly skipped here.
qsizetype NextAsciiCandidate(const std::array<bool, 0x80>& firstAscii, QStringView text,
                             qsizetype i) {
    const char16_t* units = text.utf16();
    const qsizetype size = text.size();
    for (; i < size; ++i) {
        const char16_t c = units[i];
        if (c < 0x80 ? firstAscii[c] : (c <= 0x3000 || c >= 0xA000)) {
            return i;
        }
    }
    return size;
}

}  // namespace

FindPattern::FindPattern(const QString& what, bool whole, TextFolder folder)
    : folder_(folder), whole_(whole) {
    Tokenize(
        what, [&](const std::u32string& literal) { folder_.Append(FromUcs4(literal), tokens_); },
        [&](char32_t c) {
            hasWildcard_ = true;
            // Runs of `*` mean the same as one.
            if (!(c == U'*' && !tokens_.empty() && tokens_.back() == AnyRun)) {
                tokens_.push_back(c == U'*' ? AnyRun : AnyOne);
            }
        });
    // A part match is a whole match of `*word*`.
    if (hasWildcard_ && !whole_) {
        if (tokens_.front() != AnyRun) {
            tokens_.insert(tokens_.begin(), AnyRun);
        }
        if (tokens_.back() != AnyRun) {
            tokens_.push_back(AnyRun);
        }
    }
    scansInPlace_ = !hasWildcard_ && !tokens_.empty();
    if (scansInPlace_) {
        for (char16_t c = 0; c < 0x80; ++c) {
            qsizetype length = 0;
            firstAscii_[c] =
                folder_.FoldAt([c](qsizetype) { return c; }, 1, 0, length) == tokens_[0];
        }
    }
}

bool FindPattern::MatchesInPlace(QStringView prefix, QStringView text) const {
    const qsizetype total = prefix.size() + text.size();
    const auto unit = [&](qsizetype i) {
        return i < prefix.size() ? prefix[i].unicode() : text[i - prefix.size()].unicode();
    };
    // Whether the word's code points follow from unit `i` on; `end` is where they stop.
    const auto wordAt = [&](qsizetype i, qsizetype& end) {
        size_t matched = 0;
        qsizetype length = 0;
        for (end = i; matched < tokens_.size() && end < total; end += length) {
            if (folder_.FoldAt(unit, total, end, length) != tokens_[matched]) {
                return false;
            }
            ++matched;
        }
        return matched == tokens_.size();
    };
    qsizetype end = 0;
    if (whole_) {
        return wordAt(0, end) && end == total;
    }
    const bool asciiFirst = tokens_[0] < 0x80;
    qsizetype length = 1;
    for (qsizetype i = 0; i < total; i += length) {
        if (asciiFirst && i >= prefix.size()) {
            i = prefix.size() + NextAsciiCandidate(firstAscii_, text, i - prefix.size());
            if (i == total) {
                return false;
            }
        }
        // An ASCII unit folds alone and to ASCII: the table says whether it starts the word.
        // Kana, CJK symbols and ideographs past the ideographic space never fold to ASCII.
        const char16_t first = unit(i);
        if (first < 0x80) {
            length = 1;
            if (firstAscii_[first] && wordAt(i, end)) {
                return true;
            }
        } else if (asciiFirst && first > 0x3000 && first < 0xA000) {
            length = 1;
        } else if (folder_.FoldAt(unit, total, i, length) == tokens_[0] && wordAt(i, end)) {
            return true;
        }
    }
    return false;
}

bool FindPattern::Matches(QStringView prefix, QStringView text) const {
    if (prefix.isEmpty() && text.isEmpty()) {
        return false;
    }
    if (scansInPlace_) {
        return MatchesInPlace(prefix, text);
    }
    if (!hasWildcard_) {
        return !whole_;  // an empty word: part of every non-empty text, the whole of none
    }
    buffer_.clear();
    folder_.Append(prefix, buffer_);
    folder_.Append(text, buffer_);
    return MatchGlob(buffer_);
}

QStringList FindPattern::LiteralRuns(const QString& what) {
    QStringList runs;
    Tokenize(
        what,
        [&](const std::u32string& literal) {
            if (!literal.empty()) {
                runs.append(FromUcs4(literal));
            }
        },
        [](char32_t) {});
    return runs;
}

bool FindPattern::CouldMatchWithin(QStringView alphabet) const {
    std::u32string folded;
    folder_.Append(alphabet, folded);
    return std::all_of(tokens_.begin(), tokens_.end(), [&](char32_t token) {
        return token == AnyRun || token == AnyOne || folded.find(token) != std::u32string::npos;
    });
}

// Wildcard match, linear for the usual patterns: on a mismatch the last `*` absorbs one more
// character and matching resumes after it.
bool FindPattern::MatchGlob(std::u32string_view text) const {
    const std::u32string_view pattern = tokens_;
    constexpr size_t None = std::u32string_view::npos;
    size_t p = 0;
    size_t t = 0;
    size_t starP = None;
    size_t starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == AnyRun) {
            starP = ++p;
            starT = t;
        } else if (p < pattern.size() && (pattern[p] == AnyOne || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (starP != None) {
            p = starP;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == AnyRun) {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace engine
