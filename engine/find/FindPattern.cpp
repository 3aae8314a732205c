#include "engine/find/FindPattern.h"

#include <algorithm>

namespace engine {
namespace {

// Outside the Unicode range, so no folded character can equal them.
constexpr char32_t AnyRun = 0x110000;
constexpr char32_t AnyOne = 0x110001;

}  // namespace

FindPattern::FindPattern(const QString& what, bool whole, TextFolder folder)
    : folder_(folder), whole_(whole) {
    std::u32string literal;
    const auto flushLiteral = [&] {
        folder_.Append(QString::fromUcs4(literal.data(), static_cast<qsizetype>(literal.size())),
                       tokens_);
        literal.clear();
    };
    const std::u32string word = what.toStdU32String();
    for (size_t i = 0; i < word.size(); ++i) {
        const char32_t c = word[i];
        const char32_t next = i + 1 < word.size() ? word[i + 1] : 0;
        if (c == U'~' && (next == U'*' || next == U'?' || next == U'~')) {
            literal.push_back(next);
            ++i;
        } else if (c == U'*' || c == U'?') {
            flushLiteral();
            hasWildcard_ = true;
            // Runs of `*` mean the same as one.
            if (!(c == U'*' && !tokens_.empty() && tokens_.back() == AnyRun)) {
                tokens_.push_back(c == U'*' ? AnyRun : AnyOne);
            }
        } else {
            literal.push_back(c);
        }
    }
    flushLiteral();
    // A part match is a whole match of `*word*`.
    if (hasWildcard_ && !whole_) {
        if (tokens_.front() != AnyRun) {
            tokens_.insert(tokens_.begin(), AnyRun);
        }
        if (tokens_.back() != AnyRun) {
            tokens_.push_back(AnyRun);
        }
    }
    if (!hasWildcard_ && !whole_ && !tokens_.empty()) {
        searcher_.emplace(tokens_.cbegin(), tokens_.cend());
        scansInPlace_ = !folder_.FoldsWidth();
    }
}

bool FindPattern::ContainsFolded(QStringView prefix, QStringView text) const {
    const qsizetype total = prefix.size() + text.size();
    const auto unit = [&](qsizetype i) {
        return i < prefix.size() ? prefix[i].unicode() : text[i - prefix.size()].unicode();
    };
    // The folded code point at `i` and the units it takes; a lone surrogate is itself.
    const auto codePoint = [&](qsizetype i, qsizetype& length) {
        const char16_t first = unit(i);
        if (QChar::isHighSurrogate(first) && i + 1 < total && QChar::isLowSurrogate(unit(i + 1))) {
            length = 2;
            return folder_.FoldCase(QChar::surrogateToUcs4(first, unit(i + 1)));
        }
        length = 1;
        return folder_.FoldCase(first);
    };
    qsizetype length = 1;
    for (qsizetype i = 0; i < total; i += length) {
        if (codePoint(i, length) != tokens_[0]) {
            continue;
        }
        size_t matched = 1;
        qsizetype next = 0;
        for (qsizetype j = i + length; matched < tokens_.size() && j < total; j += next) {
            if (codePoint(j, next) != tokens_[matched]) {
                break;
            }
            ++matched;
        }
        if (matched == tokens_.size()) {
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
        return ContainsFolded(prefix, text);
    }
    buffer_.clear();
    folder_.Append(prefix, buffer_);
    folder_.Append(text, buffer_);
    if (hasWildcard_) {
        return MatchGlob(buffer_);
    }
    if (whole_) {
        return buffer_ == tokens_;
    }
    if (!searcher_) {
        return true;  // an empty word is part of every non-empty text
    }
    return std::search(buffer_.cbegin(), buffer_.cend(), *searcher_) != buffer_.cend();
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
