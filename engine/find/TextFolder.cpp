#include "engine/find/TextFolder.h"

#include <QChar>
#include <QString>

namespace engine {
namespace {

// Full-width forms of the half-width katakana block U+FF61..U+FF9F.
constexpr char16_t HalfKanaToFull[] = {
    u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ',
    u'ョ', u'ッ', u'ー', u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ',
    u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ', u'チ', u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ',
    u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ', u'ミ', u'ム', u'メ', u'モ', u'ヤ',
    u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン', u'゛', u'゜'};
static_assert(std::size(HalfKanaToFull) == 0xFF9F - 0xFF61 + 1);

// Full-width forms of U+FFE0..U+FFE6 folded to their narrow counterparts.
constexpr char32_t FullSignToHalf[] = {U'¢', U'£', U'¬', U'¯', U'¦', U'¥', U'₩'};

constexpr char32_t HalfVoicedMark = 0xFF9E;
constexpr char32_t HalfSemiVoicedMark = 0xFF9F;

// The kana with a voiced (dakuten) form one code point above it.
bool TakesVoicedMark(char32_t c) {
    if (c >= U'カ' && c <= U'ト') {
        // カ..チ alternate base/voiced; the small ッ breaks the pattern before ツ.
        if (c < U'ッ') {
            return (c - U'カ') % 2 == 0;
        }
        return c > U'ッ' && (c - U'ツ') % 2 == 0;
    }
    return (c >= U'ハ' && c <= U'ホ' && (c - U'ハ') % 3 == 0);
}

constexpr char32_t FullVoicedMark = 0x309B;
constexpr char32_t FullSemiVoicedMark = 0x309C;

}  // namespace

char32_t TextFolder::Combine(char32_t base, char32_t mark) {
    if (mark == HalfVoicedMark) {
        if (TakesVoicedMark(base)) {
            return base + 1;
        }
        switch (base) {
            case U'ウ':
                return U'ヴ';
            case U'ワ':
                return U'ヷ';
            case U'ヲ':
                return U'ヺ';
            default:
                return 0;
        }
    }
    if (mark == HalfSemiVoicedMark && base >= U'ハ' && base <= U'ホ' && (base - U'ハ') % 3 == 0) {
        return base + 2;
    }
    return 0;
}

char32_t TextFolder::FoldWidth(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) {
        return c - 0xFEE0;
    }
    if (c == 0x3000) {
        return U' ';
    }
    if (c >= 0xFFE0 && c <= 0xFFE6) {
        return FullSignToHalf[c - 0xFFE0];
    }
    if (c >= 0xFF61 && c <= 0xFF9F) {
        return HalfKanaToFull[c - 0xFF61];
    }
    return c;
}

char32_t TextFolder::FoldCaseTable(char32_t c) {
    return QChar::toCaseFolded(c);
}

void TextFolder::AppendForIndex(QStringView text, QString& out) {
    const TextFolder folder(false, false);
    // Written in place: a character becomes at most two code points of two units each.
    const qsizetype start = out.size();
    out.resize(start + 4 * text.size());
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data()) + start;
    char16_t* end = begin;
    const auto append = [&end](char32_t c) {
        if (QChar::requiresSurrogates(c)) {
            *end++ = QChar::highSurrogate(c);
            *end++ = QChar::lowSurrogate(c);
        } else {
            *end++ = char16_t(c);
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (c < 0x80) {
            *end++ = char16_t(c >= U'A' && c <= U'Z'   ? c + (U'a' - U'A')
                              : c >= U'1' && c <= U'9' ? U'0'
                                                       : c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(char16_t(c), text[i + 1].unicode());
            ++i;
        }
        // Case first as well, so that a character whose case partner has another width
        // folds as that partner does.
        char32_t folded = folder.FoldCase(FoldWidth(folder.FoldCase(c)));
        if (folded >= U'1' && folded <= U'9') {
            folded = U'0';  // a full-width digit
        }
        // A voiced kana is written as the base and the mark a half-width text combines.
        char32_t base = 0;
        char32_t mark = 0;
        if (folded >= U'ガ' && folded <= U'ヺ') {
            const char32_t candidates[] = {folded - 1, folded - 2, U'ウ', U'ワ', U'ヲ'};
            for (const char32_t candidate : candidates) {
                if (Combine(candidate, HalfVoicedMark) == folded) {
                    base = candidate;
                    mark = FullVoicedMark;
                } else if (Combine(candidate, HalfSemiVoicedMark) == folded) {
                    base = candidate;
                    mark = FullSemiVoicedMark;
                }
            }
        }
        if (base != 0) {
            append(base);
            append(mark);
        } else {
            append(folded);
        }
    }
    out.truncate(start + (end - begin));
}

void TextFolder::Append(QStringView text, std::u32string& out) const {
    out.reserve(out.size() + static_cast<size_t>(text.size()));
    const auto unit = [text](qsizetype i) { return text[i].unicode(); };
    qsizetype length = 1;
    for (qsizetype i = 0; i < text.size(); i += length) {
        out.push_back(FoldAt(unit, text.size(), i, length));
    }
}

}  // namespace engine
