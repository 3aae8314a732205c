// The alphabet a search relies on to skip rendering: every text a number can be shown with
// under a code must stay within the code's alphabet, or a values search would miss hits.
#include "engine/format/BuiltinFormats.h"
#include "engine/format/NumberFormatter.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <vector>

namespace engine {
namespace {

const std::vector<double> Values = {0,         1,           -1,    0.5,     -0.25,     3.14159,
                                    12345.678, -98765.4321, 1e15,  1.5e-7,  -2.5e20,   45292.75,
                                    60,        2958465.9,   1e300, -0.0001, 7.0 / 3.0, 100000};

QStringList Codes() {
    QStringList codes;
    for (int id = 0; id < 82; ++id) {
        codes << BuiltinFormats::Code(id);
    }
    codes << QStringLiteral("0.00_);[Red](0.00)") << QStringLiteral("\"在庫\"#,##0\"個\"")
          << QStringLiteral("[$¥-411]#,##0;[$¥-411]-#,##0") << QStringLiteral("#,##0,,\"百万\"")
          << QStringLiteral("0.0%") << QStringLiteral("##0.0E+0")
          << QStringLiteral(
                 "# ?"
                 "?/??")
          << QStringLiteral("[<100]\"小\"0;[>=100]\"大\"0")
          << QStringLiteral("yyyy\"年\"m\"月\"d\"日\"") << QStringLiteral("[h]:mm:ss.00")
          << QStringLiteral("\\$* #,##0") << QStringLiteral("@")
          << QStringLiteral("0;-0;\"ゼロ\";@\"様\"") << QStringLiteral("[=1]\"one\";0")
          << QStringLiteral("0.00E-00") << QStringLiteral("not a [valid code")
          << QStringLiteral("[DBNum1]0") << QStringLiteral("[DBNum3]#,##0")
          << QStringLiteral("[$-411]yyyy/m/d") << QStringLiteral("[$-ja-JP]mmm")
          << QStringLiteral("mmm d, yyyy dddd h:mm AM/PM") << QStringLiteral("mmmmm aaaa a/p")
          << QStringLiteral("[$-411]ggge\"年\"m\"月\"d\"日\" mmmm dddd AM/PM")
          << QStringLiteral("[DBNum2][$-411]gge\"年\"") << QStringLiteral("[DBNum1]#,##0.00");
    return codes;
}

TEST(NumberAlphabet, EveryShownTextStaysWithinIt) {
    int checked = 0;
    for (const QString& code : Codes()) {
        const QString alphabet = NumberFormatter::NumberAlphabet(code);
        for (const double value : Values) {
            const QString text = NumberFormatter::Format(value, code, false);
            for (const QChar c : text) {
                EXPECT_TRUE(alphabet.contains(c))
                    << "'" << QString(c).toStdString() << "' of \"" << text.toStdString() << "\" ("
                    << value << " with \"" << code.toStdString() << "\")";
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 1000);
}

// Names widen the alphabet by their letters only: a word of other letters still skips them.
TEST(NumberAlphabet, NamesAddTheirLettersOnly) {
    const auto has = [](const char16_t* code, QChar c) {
        return NumberFormatter::NumberAlphabet(QStringView(code)).contains(c);
    };
    EXPECT_TRUE(has(u"mmm d, yyyy", u'J'));
    EXPECT_FALSE(has(u"mmm d, yyyy", u'x'));
    EXPECT_TRUE(has(u"[$-411]ggge\"年\"m\"月\"", u'令'));
    EXPECT_FALSE(has(u"[$-411]ggge\"年\"m\"月\"", u'n'));
    EXPECT_TRUE(has(u"h:mm AM/PM", u'P'));
    EXPECT_TRUE(has(u"[$-411]h:mm AM/PM", u'午'));
    EXPECT_TRUE(has(u"aaaa", u'曜'));
    EXPECT_TRUE(has(u"[DBNum1]0", u'万'));
}

}  // namespace
}  // namespace engine
