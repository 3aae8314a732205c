// The index texts of a workbook may only rule a book out when no Find could match in it:
// random books and words, every option combination, checked against the finder itself.
#include "engine/find/BookTexts.h"

#include "engine/find/FindPattern.h"
#include "engine/find/RangeFinder.h"
#include "engine/find/TextFolder.h"
#include "tests/engine/model/MemoryBook.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using engine::BookTexts;
using engine::LookIn;

QString IndexForm(QStringView text) {
    QString folded;
    engine::TextFolder::AppendForIndex(text, folded);
    return folded;
}

// What the cell index concludes from a book's list: whether every literal part of the word
// is in the texts or could be shown by a number left out of them.
bool MayHold(const engine::BookTextList& list, const QString& word) {
    for (const QString& run : engine::FindPattern::LiteralRuns(word)) {
        const QString literal = IndexForm(run);
        const bool numeric = std::all_of(literal.begin(), literal.end(),
                                         [&](QChar c) { return list.numberAlphabet.contains(c); });
        if (!list.texts.contains(literal) && !numeric) {
            return false;
        }
    }
    return true;
}

TEST(IndexFoldTest, NoMatchOptionTellsApartWhatTheIndexFoldsTogether) {
    // Case-only and width-only folds must never separate characters the index form joins,
    // or a case- or width-sensitive Find could match where the index says no.
    const engine::TextFolder caseOnly(false, true);
    const engine::TextFolder widthOnly(true, false);
    const auto fold = [](const engine::TextFolder& folder, char32_t c) {
        std::u32string out;
        folder.Append(QString::fromUcs4(&c, 1), out);
        return QString::fromStdU32String(out);
    };
    int checked = 0;
    for (char32_t c = 1; c < 0x30000; ++c) {
        if (c >= 0xD800 && c < 0xE000) {
            continue;
        }
        const QString one = QString::fromUcs4(&c, 1);
        ASSERT_EQ(IndexForm(fold(caseOnly, c)), IndexForm(one)) << std::hex << uint32_t(c);
        ASSERT_EQ(IndexForm(fold(widthOnly, c)), IndexForm(one)) << std::hex << uint32_t(c);
        ++checked;
    }
    EXPECT_GT(checked, 190000);
}

TEST(IndexFoldTest, VoicedKanaBecomeBaseAndMarkInEverySpelling) {
    EXPECT_EQ(IndexForm(u"ガ"), IndexForm(u"ｶﾞ"));
    EXPECT_EQ(IndexForm(u"ガ"), IndexForm(u"カﾞ"));
    EXPECT_EQ(IndexForm(u"パ"), IndexForm(u"ﾊﾟ"));
    EXPECT_EQ(IndexForm(u"ヴ"), IndexForm(u"ｳﾞ"));
    EXPECT_TRUE(IndexForm(u"ガ").startsWith(IndexForm(u"ｶ")));
    EXPECT_EQ(IndexForm(u"ＡＢｃ"), IndexForm(u"abc"));
}

TEST(LiteralRunsTest, WildcardsSplitAndEscapesStay) {
    using engine::FindPattern;
    EXPECT_EQ(FindPattern::LiteralRuns("ab*cd?e"), QStringList({"ab", "cd", "e"}));
    EXPECT_EQ(FindPattern::LiteralRuns("a~*b~?c~~d~x"), QStringList({"a*b?c~d~x"}));
    EXPECT_EQ(FindPattern::LiteralRuns("**?"), QStringList());
}

class BookTextsTest : public testing::Test {
protected:
    static std::optional<engine::BookTextList> Collect(engine::Workbook& book, LookIn lookIn) {
        return BookTexts::Collect(book, lookIn);
    }
};

TEST_F(BookTextsTest, ListsWhatEachLookInCompares) {
    auto book = testbook::Make({[](engine::Workbook& b, engine::Worksheet& sheet) {
        sheet.AddCell(testbook::Text(b, 1, 1, "Alpha"));
        engine::Cell formula = testbook::Number(b, 1, 2, 3);
        formula.formula = b.AddString("SUM(A9)");
        sheet.AddCell(formula);
        sheet.AddCell(testbook::Number(b, 2, 1, 0.5, "0.0%"));
        sheet.AddNote({2, 2, "Remark"});
        sheet.Finish();
    }});
    const auto formulas = Collect(*book, LookIn::Formulas);
    ASSERT_TRUE(formulas);
    EXPECT_TRUE(formulas->texts.contains("alpha"));
    EXPECT_TRUE(formulas->texts.contains("=sum(a0)"));
    EXPECT_TRUE(formulas->numberAlphabet.contains(u'%'));
    EXPECT_FALSE(formulas->texts.contains("remark"));
    const auto values = Collect(*book, LookIn::Values);
    ASSERT_TRUE(values);
    EXPECT_TRUE(values->numberAlphabet.contains(u'%'));
    EXPECT_FALSE(values->texts.contains("sum"));
    const auto comments = Collect(*book, LookIn::Comments);
    ASSERT_TRUE(comments);
    EXPECT_EQ(comments->texts, QString("remark") + BookTexts::Separator);
}

TEST_F(BookTextsTest, NumbersAreSummedUpByWhatTheirFormatsCanShow) {
    auto book = testbook::Make({[](engine::Workbook& b, engine::Worksheet& sheet) {
        for (int32_t row = 1; row <= 1000; ++row) {
            sheet.AddCell(testbook::Number(b, row, 1, row + 0.25, "#,##0.00\"円\""));
        }
        sheet.Finish();
    }});
    const auto values = Collect(*book, LookIn::Values);
    ASSERT_TRUE(values);
    EXPECT_TRUE(values->texts.isEmpty());
    EXPECT_TRUE(values->numberAlphabet.contains(u'円'));
    EXPECT_TRUE(MayHold(*values, "50,005.25"));
    EXPECT_TRUE(MayHold(*values, "5円"));
    EXPECT_FALSE(MayHold(*values, "total"));
    const auto formulas = Collect(*book, LookIn::Formulas);
    ASSERT_TRUE(formulas);
    EXPECT_TRUE(MayHold(*formulas, "1000.25"));
    EXPECT_FALSE(MayHold(*formulas, "5円"));  // the edit-bar form has no format
}

TEST_F(BookTextsTest, DigitsFoldToZeroSoRowsOfFormulasFoldTogether) {
    auto book = testbook::Make({[](engine::Workbook& b, engine::Worksheet& sheet) {
        for (int32_t row = 2; row <= 9; ++row) {
            engine::Cell cell = testbook::Number(b, row, 3, row);
            cell.formula = b.AddString(QStringLiteral("A%1+B%1").arg(row));
            sheet.AddCell(cell);
        }
        sheet.Finish();
    }});
    const auto formulas = Collect(*book, LookIn::Formulas);
    ASSERT_TRUE(formulas);
    EXPECT_EQ(formulas->texts, QString("=a0+b0") + BookTexts::Separator);
    EXPECT_TRUE(MayHold(*formulas, "A7+B"));
    EXPECT_FALSE(MayHold(*formulas, "A7-B"));
}

TEST_F(BookTextsTest, ValuesComputedOnOpeningAreNotListed) {
    auto book = testbook::Make({[](engine::Workbook& b, engine::Worksheet& sheet) {
        engine::Cell today = testbook::Number(b, 1, 1, 0, "yyyy/m/d");
        today.formula = b.AddString("TODAY()");
        today.uncalculated = true;
        sheet.AddCell(today);
        sheet.Finish();
    }});
    EXPECT_FALSE(Collect(*book, LookIn::Values));
    EXPECT_TRUE(Collect(*book, LookIn::Formulas));
}

// Random texts over characters where folding matters: both cases, both widths, kana with
// and without voiced marks, wildcard and escape characters.
class RandomBooks {
public:
    explicit RandomBooks(unsigned seed) : random_(seed) {}

    QString Text(int maxLength) {
        static const char16_t pieces[] = u"aAｂＢcC1１2 ｶｶﾞガﾊﾟパはば~*?=.-円";
        const int length = Pick(1, maxLength);
        QString text;
        for (int i = 0; i < length; ++i) {
            text += QChar(pieces[Pick(0, int(std::size(pieces)) - 2)]);
        }
        return text;
    }

    std::shared_ptr<engine::Workbook> Book() {
        std::vector<std::pair<int, QString>> texts;
        std::vector<std::pair<int, double>> numbers;
        std::vector<QString> notes;
        for (int row = 1; row <= 6; ++row) {
            if (Pick(0, 2) == 0) {
                numbers.emplace_back(row, Pick(0, 3000) / 4.0);
            } else {
                texts.emplace_back(row, Text(6));
            }
            notes.push_back(Text(4));
        }
        const QString format = Pick(0, 1) ? "General" : "0.0\"ｶﾞ\"";
        return testbook::Make({[=](engine::Workbook& b, engine::Worksheet& sheet) {
            for (const auto& [row, text] : texts) {
                engine::Cell cell = testbook::Text(b, row, 1, text);
                if (row % 3 == 0) {
                    cell.formula = b.AddString(text);
                }
                sheet.AddCell(cell);
            }
            for (const auto& [row, number] : numbers) {
                sheet.AddCell(testbook::Number(b, row, 1, number, format));
            }
            for (size_t i = 0; i < notes.size(); ++i) {
                sheet.AddNote({int32_t(i) + 1, 2, notes[i]});
            }
            sheet.Finish();
        }});
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

private:
    std::mt19937 random_;
};

TEST_F(BookTextsTest, NeverRulesOutABookThatFindMatches) {
    RandomBooks random(20261209);
    int matchedBooks = 0;
    for (int round = 0; round < 300; ++round) {
        auto book = random.Book();
        engine::Worksheet& sheet = book->Sheet(0);
        for (const LookIn lookIn : {LookIn::Formulas, LookIn::Values, LookIn::Comments}) {
            const auto list = Collect(*book, lookIn);
            ASSERT_TRUE(list);
            for (int w = 0; w < 8; ++w) {
                engine::FindOptions options;
                options.what = random.Text(3);
                options.lookIn = lookIn;
                for (int combination = 0; combination < 8; ++combination) {
                    options.matchCase = combination & 1;
                    options.matchByte = combination & 2;
                    options.whole = combination & 4;
                    const engine::RangeFinder finder(*book, sheet, {1, 1, 6, 2}, options);
                    if (finder.MatchCount() > 0) {
                        ++matchedBooks;
                        ASSERT_TRUE(MayHold(*list, options.what))
                            << options.what.toStdString() << " look-in " << int(lookIn)
                            << " options " << combination;
                    }
                }
            }
        }
    }
    EXPECT_GT(matchedBooks, 1000);  // the check ran on many real matches
}

}  // namespace
