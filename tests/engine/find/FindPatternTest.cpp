// The word-to-cell comparison of Find: wildcards and their escapes, whole versus part, case,
// and half-width/full-width folding with Japanese text.
#include "engine/find/FindPattern.h"
#include "engine/find/TextFolder.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char16_t* word;
    const char16_t* text;
    bool whole;
    bool matchCase;
    bool matchByte;
    bool expected;
};

class FindPatternTest : public testing::TestWithParam<Case> {};

TEST_P(FindPatternTest, Matches) {
    const Case& c = GetParam();
    const engine::FindPattern pattern(QString::fromUtf16(c.word), c.whole,
                                      engine::TextFolder(c.matchCase, c.matchByte));
    EXPECT_EQ(pattern.Matches(QString::fromUtf16(c.text)), c.expected)
        << QString::fromUtf16(c.word).toStdString() << " vs "
        << QString::fromUtf16(c.text).toStdString() << (c.whole ? " whole" : " part")
        << (c.matchCase ? " case" : "") << (c.matchByte ? " byte" : "");
}

constexpr bool Whole = true, Part = false, Cased = true, NoCase = false, Byte = true,
               NoByte = false;

INSTANTIATE_TEST_SUITE_P(
    Wildcards, FindPatternTest,
    testing::Values(Case{u"A?C", u"ABC", Whole, NoCase, NoByte, true},
                    Case{u"A?C", u"ABCD", Whole, NoCase, NoByte, false},
                    Case{u"A?C", u"xABCx", Part, NoCase, NoByte, true},
                    Case{u"*east", u"Northeast", Whole, NoCase, NoByte, true},
                    Case{u"*east", u"Eastern", Whole, NoCase, NoByte, false},
                    Case{u"a*c", u"xxabyycx", Part, NoCase, NoByte, true},
                    Case{u"a*c", u"xxabyycx", Whole, NoCase, NoByte, false},
                    Case{u"*", u"x", Whole, NoCase, NoByte, true},
                    Case{u"*", u"", Part, NoCase, NoByte, false},  // empty cells never match
                    Case{u"a**b", u"ab", Whole, NoCase, NoByte, true},
                    Case{u"*a*a*a*b", u"aaaaaaaaaaaaaaaaaaaa", Whole, NoCase, NoByte, false},
                    Case{u"?", u"😀", Whole, NoCase, NoByte, true},  // one code point
                    Case{u"??", u"😀", Whole, NoCase, NoByte, false},
                    Case{u"a?b", u"a\nb", Whole, NoCase, NoByte, true},
                    Case{u"a*b", u"a\nline\nb", Whole, NoCase, NoByte, true}));

INSTANTIATE_TEST_SUITE_P(Escapes, FindPatternTest,
                         testing::Values(Case{u"~*", u"*", Whole, NoCase, NoByte, true},
                                         Case{u"~*", u"a", Whole, NoCase, NoByte, false},
                                         Case{u"5~*3", u"=5*3", Part, NoCase, NoByte, true},
                                         Case{u"5~*3", u"=5+3", Part, NoCase, NoByte, false},
                                         Case{u"what~?", u"what?", Whole, NoCase, NoByte, true},
                                         Case{u"what~?", u"whats", Whole, NoCase, NoByte, false},
                                         Case{u"~~", u"~", Whole, NoCase, NoByte, true},
                                         Case{u"a~b", u"a~b", Whole, NoCase, NoByte,
                                              true},  // ~ before others is kept
                                         Case{u"a~", u"a~", Whole, NoCase, NoByte, true},
                                         Case{u"~**", u"*abc", Whole, NoCase, NoByte, true},
                                         Case{u"~**", u"abc", Whole, NoCase, NoByte, false}));

INSTANTIATE_TEST_SUITE_P(WholeAndPart, FindPatternTest,
                         testing::Values(Case{u"abc", u"abc", Whole, NoCase, NoByte, true},
                                         Case{u"abc", u"abcd", Whole, NoCase, NoByte, false},
                                         Case{u"bc", u"abcd", Part, NoCase, NoByte, true},
                                         Case{u"bd", u"abcd", Part, NoCase, NoByte, false},
                                         Case{u"検索", u"全文検索の結果", Part, NoCase, NoByte,
                                              true},
                                         Case{u"abcd", u"abc", Part, NoCase, NoByte, false}));

INSTANTIATE_TEST_SUITE_P(LetterCase, FindPatternTest,
                         testing::Values(Case{u"ABC", u"abc", Whole, NoCase, NoByte, true},
                                         Case{u"ABC", u"abc", Whole, Cased, NoByte, false},
                                         Case{u"Straße", u"STRASSE", Whole, NoCase, NoByte, false},
                                         Case{u"ΑΒΓ", u"αβγ", Whole, NoCase, NoByte, true},
                                         Case{u"Ａ", u"ａ", Whole, NoCase, Byte,
                                              true},  // full-width letters fold too
                                         Case{u"Ａ", u"ａ", Whole, Cased, Byte, false},
                                         Case{u"a", u"Ａ", Whole, NoCase, NoByte, true},
                                         Case{u"a", u"Ａ", Whole, Cased, NoByte, false},
                                         Case{u"A", u"Ａ", Whole, Cased, NoByte, true}));

INSTANTIATE_TEST_SUITE_P(
    Width, FindPatternTest,
    testing::Values(Case{u"ABC123#", u"ＡＢＣ１２３＃", Whole, NoCase, NoByte, true},
                    Case{u"ABC123#", u"ＡＢＣ１２３＃", Whole, NoCase, Byte, false},
                    Case{u"a b", u"a　b", Whole, NoCase, NoByte, true},
                    Case{u"¥100", u"￥100", Whole, NoCase, NoByte, true},
                    Case{u"カタカナ", u"ｶﾀｶﾅ", Whole, NoCase, NoByte, true},
                    Case{u"カタカナ", u"ｶﾀｶﾅ", Whole, NoCase, Byte, false},
                    Case{u"ガッコウ", u"ｶﾞｯｺｳ", Whole, NoCase, NoByte, true},
                    Case{u"パン", u"ﾊﾟﾝ", Whole, NoCase, NoByte, true},
                    Case{u"ヴァ", u"ｳﾞｧ", Whole, NoCase, NoByte, true},
                    Case{u"ボ", u"ﾎﾞ", Whole, NoCase, NoByte, true},
                    Case{u"ポ", u"ﾎﾞ", Whole, NoCase, NoByte, false},
                    Case{u"ヅ", u"ﾂﾞ", Whole, NoCase, NoByte, true},
                    Case{u"ッ゛", u"ｯﾞ", Whole, NoCase, NoByte, true},  // no voiced small tsu
                    Case{u"「テスト」。", u"｢ﾃｽﾄ｣｡", Whole, NoCase, NoByte, true},
                    Case{u"?ﾞ", u"ガ", Whole, NoCase, NoByte, false},
                    Case{u"?", u"ｶﾞ", Whole, NoCase, NoByte, true},  // one character once folded
                    Case{u"ｶﾞ", u"ガ", Part, NoCase, NoByte, true},
                    Case{u"あ", u"ア", Whole, NoCase, NoByte, false},  // kana kind is not folded
                    Case{u"ｶ", u"ガ", Whole, NoCase, NoByte, false}));

// The folder skips the case table for kana, CJK and Hangul: that must change no folding.
TEST(TextFolderCase, EveryCodePointFoldsAsTheCaseTableSays) {
    const engine::TextFolder folder(false, true);
    std::u32string folded;
    for (char32_t c = 0x80; c < 0x10000; ++c) {
        if (QChar::isSurrogate(c)) {
            continue;
        }
        folded.clear();
        const char16_t unit = char16_t(c);
        folder.Append(QStringView(&unit, 1), folded);
        ASSERT_EQ(folded, std::u32string(1, QChar::toCaseFolded(c))) << std::hex << uint32_t(c);
    }
}

// A word without wildcards is matched while the text is folded in place: it must answer as
// folding the whole text does, across case pairs, width forms, voiced marks and surrogates.
TEST(FindPatternInPlace, AnswersAsFoldingTheWholeText) {
    const std::u16string pieces[] = {
        u"a", u"A",  u"b",  u"K",      u"\u212A", u"σ",     u"Σ",  u"ς",  u"ß",
        u"ẞ", u"カ", u"ｶ",  u"ﾞ",      u"ﾟ",      u"ﾊ",     u"バ", u"検", u"\U0001F600",
        u"=", u"ａ", u"Ａ", u"\u3000", u" ",      u"\xD800"};  // a lone surrogate last: texts only
    uint32_t seed = 12345;
    const auto next = [&seed](uint32_t bound) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % bound;
    };
    const auto random = [&](uint32_t maxPieces, uint32_t kinds) {
        std::u16string text;
        for (uint32_t n = next(maxPieces) + 1; n > 0; --n) {
            text += pieces[next(kinds)];
        }
        return QString::fromStdU16String(text);
    };
    int matches = 0;
    for (const bool matchCase : {false, true}) {
        for (const bool matchByte : {false, true}) {
            for (const bool whole : {false, true}) {
                const engine::TextFolder folder(matchCase, matchByte);
                for (int round = 0; round < 2000; ++round) {
                    const QString word = random(whole ? 4 : 3, std::size(pieces) - 1);
                    const QString text =
                        whole && next(2) ? word.mid(1) : random(12, std::size(pieces));
                    // With and without a prefix before the text, as formulas and values come.
                    const QString prefix = round % 2 ? QString() : QStringLiteral("=");
                    std::u32string foldedWord;
                    std::u32string foldedText;
                    folder.Append(word, foldedWord);
                    folder.Append(prefix + text, foldedText);
                    const bool expected = whole
                                              ? foldedText == foldedWord
                                              : foldedText.find(foldedWord) != std::u32string::npos;
                    const engine::FindPattern pattern(word, whole, folder);
                    ASSERT_EQ(pattern.Matches(prefix, text), expected)
                        << word.toStdString() << " in " << prefix.toStdString()
                        << text.toStdString();
                    matches += expected ? 1 : 0;
                }
            }
        }
    }
    EXPECT_GT(matches, 500);  // the random texts hit often enough to test both answers
}
}  // namespace
