// Number codes × values against the texts the spreadsheet application shows (Japanese
// locale, column wide enough).
#include "engine/format/BuiltinFormats.h"
#include "engine/format/NumberFormatter.h"

#include <gtest/gtest.h>

#include <QString>

namespace engine {
namespace {

struct FormatCase {
    double value;
    const char* code;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const FormatCase& c) {
    return out << c.value << " with \"" << c.code << "\"";
}

class NumberFormatTable : public testing::TestWithParam<FormatCase> {};

TEST_P(NumberFormatTable, ShowsTheApplicationsText) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(NumberFormatter::Format(c.value, QString::fromUtf8(c.code), false).toStdString(),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, NumberFormatTable,
    testing::Values(
        FormatCase{123456.789, "General", "123456.789"}, FormatCase{123456.789, "0", "123457"},
        FormatCase{123456.789, "0.00", "123456.79"}, FormatCase{123456.789, "#,##0", "123,457"},
        FormatCase{123456.789, "#,##0.00", "123,456.79"}, FormatCase{123456.789, "0%", "12345679%"},
        FormatCase{123456.789, "0.00%", "12345678.90%"},
        FormatCase{123456.789, "0.00E+00", "1.23E+05"},
        FormatCase{123456.789, "##0.0E+0", "123.5E+3"}, FormatCase{12345, "##0.0E+0", "12.3E+3"},
        FormatCase{0.000123, "0.00E+00", "1.23E-04"}, FormatCase{9.999, "0.00E+00", "1.00E+01"},
        FormatCase{0, "0.00E+00", "0.00E+00"},
        FormatCase{123456.789, "#,##0_);(#,##0)", "123,457 "},
        FormatCase{123456.789, "#,##0.00_);(#,##0.00)", "123,456.79 "},
        FormatCase{-1234.5, "#,##0.00_);(#,##0.00)", "(1,234.50)"},
        FormatCase{-1234, "#,##0;[Red]-#,##0", "-1,234"}, FormatCase{-5, "0;0", "5"},
        FormatCase{-5, "0", "-5"}, FormatCase{-5, "\"$\"0", "-$5"}, FormatCase{0.125, "0%", "13%"},
        FormatCase{0.1256, "0.0%", "12.6%"}, FormatCase{1.005, "0.00", "1.01"},
        FormatCase{2.675, "0.00", "2.68"}, FormatCase{-2.5, "0", "-3"}, FormatCase{2.5, "0", "3"},
        FormatCase{-0.001, "0.00", "0.00"}, FormatCase{42, "00000", "00042"},
        FormatCase{1234567, "000-0000", "123-4567"}, FormatCase{0.5, "#.##", ".5"},
        FormatCase{1, "#.##", "1."}, FormatCase{0.5, "0.0?", "0.5 "},
        FormatCase{5, "0,000", "0,005"}, FormatCase{1234567, "#,##0,", "1,235"},
        FormatCase{123456789, "#,##0.0,,\"百万\"", "123.5百万"},
        FormatCase{1234567.891, "#,##0.000", "1,234,567.891"}, FormatCase{0, "0;-0;;@", ""},
        FormatCase{5, ";;;", ""}, FormatCase{7, "\"¥\"General", "¥7"},
        FormatCase{-7, "[Red]General", "-7"}, FormatCase{1500, "[>=1000]#,##0,\"K\";0", "2K"},
        FormatCase{50, "[>=1000]#,##0,\"K\";0", "50"},
        FormatCase{-50, "[>=1000]0;[<0]\"neg \"0;0", "-neg 50"},
        FormatCase{1234, "[$¥-411]#,##0", "¥1,234"}, FormatCase{1234, "0\\ \"円\"", "1234 円"},
        FormatCase{1234, "#,##0円", "1,234円"}, FormatCase{5, "0_)*x", "5 "}));

INSTANTIATE_TEST_SUITE_P(
    Fractions, NumberFormatTable,
    testing::Values(FormatCase{123456.789, "# ?/?", "123456 4/5"},
                    FormatCase{123456.789, "# \?\?/\?\?", "123456 15/19"},
                    FormatCase{1.25, "# ?/?", "1 1/4"},
                    FormatCase{3.14159, "# \?\?/\?\?", "3  1/7 "},
                    FormatCase{2.3, "# ?/8", "2 2/8"}, FormatCase{3, "# ?/?", "3    "},
                    FormatCase{1.5, "?/?", "3/2"}, FormatCase{-1.25, "# ?/?", "-1 1/4"},
                    // Numerators outgrow 64 bits first (found by fuzzing).
                    FormatCase{123456789012.345, "0/00000", "4045432062356521/32768"}));

INSTANTIATE_TEST_SUITE_P(
    DatesAndTimes, NumberFormatTable,
    testing::Values(
        FormatCase{45296, "yyyy/m/d", "2024/1/5"},
        FormatCase{45296.75, "yyyy/m/d h:mm", "2024/1/5 18:00"},
        FormatCase{45296.75, "yy-mm-dd hh:mm:ss", "24-01-05 18:00:00"},
        FormatCase{45296, "ddd dddd mmm mmmm mmmmm", "Fri Friday Jan January J"},
        FormatCase{45296, "aaa aaaa", "金 金曜日"}, FormatCase{45296, "[$-411]ge.m.d", "R6.1.5"},
        FormatCase{45296, "[$-411]ggge\"年\"m\"月\"d\"日\"", "令和6年1月5日"},
        FormatCase{32000, "gge", "昭62"}, FormatCase{45296, "yyyy年m月d日", "2024年1月5日"},
        FormatCase{45296, "[$-F800]dddd, mmmm dd, yyyy", "2024年1月5日"},
        FormatCase{0, "yyyy/m/d", "1900/1/0"}, FormatCase{60, "yyyy/m/d", "1900/2/29"},
        FormatCase{61, "yyyy/m/d", "1900/3/1"}, FormatCase{1, "dddd", "Sunday"},
        FormatCase{2958465, "yyyy/m/d", "9999/12/31"}, FormatCase{2958466, "yyyy/m/d", "########"},
        FormatCase{-1, "yyyy/m/d", "########"}, FormatCase{12345.6789, "h:mm AM/PM", "4:17 PM"},
        FormatCase{12345.6789, "h:mm:ss AM/PM", "4:17:37 PM"},
        FormatCase{12345.6789, "h:mm", "16:17"}, FormatCase{12345.6789, "h:mm:ss", "16:17:37"},
        FormatCase{12345.6789, "d-mmm-yy", "18-Oct-33"}, FormatCase{12345.6789, "d-mmm", "18-Oct"},
        FormatCase{12345.6789, "mmm-yy", "Oct-33"},
        FormatCase{12345.6789, "m/d/yyyy h:mm", "10/18/1933 16:17"},
        FormatCase{0.5, "h:mm AM/PM", "12:00 PM"}, FormatCase{0.25, "h:mm a/p", "6:00 a"},
        FormatCase{0.99999999, "h:mm:ss", "0:00:00"}, FormatCase{123456.789, "mm:ss", "56:10"},
        FormatCase{123456.789, "[h]:mm:ss", "2962962:56:10"},
        FormatCase{123456.789, "mm:ss.0", "56:09.6"}, FormatCase{1.25, "[h]:mm", "30:00"},
        FormatCase{0.5, "[mm]:ss", "720:00"}, FormatCase{45296.75, "h\"時\"mm\"分\"", "18時00分"}));

// [DBNum1] kanji with place words, [DBNum2] formal kanji, [DBNum3] full-width digits; a
// [$-411] or [$-ja-JP] locale gives Japanese month, weekday and AM/PM names.
INSTANTIATE_TEST_SUITE_P(
    JapaneseForms, NumberFormatTable,
    testing::Values(
        FormatCase{123, "[DBNum1]General", "百二十三"},
        FormatCase{123, "[DBNum2]General", "壱百弐拾参"},
        FormatCase{123, "[DBNum3]General", "１２３"}, FormatCase{0, "[DBNum1]0", "〇"},
        FormatCase{10, "[DBNum1]0", "十"}, FormatCase{10, "[DBNum2]0", "壱拾"},
        FormatCase{1234, "[DBNum1]#,##0", "千二百三十四"}, FormatCase{10000, "[DBNum1]0", "一万"},
        FormatCase{15000000, "[DBNum1]0", "千五百万"}, FormatCase{100000001, "[DBNum1]0", "一億一"},
        FormatCase{20406, "[DBNum2]0", "弐萬四百六"},
        FormatCase{-12.5, "[DBNum1]0.00", "-十二.五〇"},
        FormatCase{1234, "[DBNum3]#,##0", "１,２３４"}, FormatCase{5, "[DBNum1]0\"個\"", "五個"},
        FormatCase{45296, "[DBNum1][$-411]ggge\"年\"m\"月\"d\"日\"", "令和六年一月五日"},
        FormatCase{45306, "[DBNum2][$-411]ggge\"年\"m\"月\"d\"日\"", "令和六年壱月壱拾伍日"},
        FormatCase{45296, "[DBNum1]yyyy\"年\"m\"月\"", "二〇二四年一月"},
        FormatCase{45296, "[DBNum3]yyyy/m/d", "２０２４/１/５"},
        FormatCase{45296, "[$-411]mmm mmmm ddd dddd", "1月 1月 金 金曜日"},
        FormatCase{45296, "[$-ja-JP]mmmm d\"日\" dddd", "1月 5日 金曜日"},
        FormatCase{45296.75, "[$-411]AM/PM h:mm", "午後 6:00"},
        FormatCase{45296.25, "[$-411]h:mm AM/PM", "6:00 午前"},
        FormatCase{45296, "[$-409]mmm", "Jan"}, FormatCase{1234.5, "[$¥-411]#,##0", "¥1,235"}));

INSTANTIATE_TEST_SUITE_P(InvalidCodesShowGeneral, NumberFormatTable,
                         testing::Values(FormatCase{1.5, "\"unterminated", "1.5"},
                                         FormatCase{1.5, "[Red", "1.5"},
                                         FormatCase{1.5, "0;0;0;@;0", "1.5"},
                                         FormatCase{1.5, "", "1.5"}));

struct BuiltinCase {
    int id;
    double value;
    const char* expected;
};

class BuiltinFormatTable : public testing::TestWithParam<BuiltinCase> {};

TEST_P(BuiltinFormatTable, ShowsTheJapaneseForm) {
    const BuiltinCase& c = GetParam();
    EXPECT_EQ(NumberFormatter::Format(c.value, BuiltinFormats::Code(c.id), false).toStdString(),
              c.expected)
        << "format id " << c.id;
}

INSTANTIATE_TEST_SUITE_P(
    Ids, BuiltinFormatTable,
    testing::Values(BuiltinCase{0, 0.1 + 0.2, "0.3"}, BuiltinCase{5, -1234, "¥-1,234"},
                    BuiltinCase{8, 1234.5, "¥1,234.50"}, BuiltinCase{14, 45296, "2024/1/5"},
                    BuiltinCase{22, 45296.75, "2024/1/5 18:00"}, BuiltinCase{27, 45296, "R6.1.5"},
                    BuiltinCase{28, 45296, "令和6年1月5日"}, BuiltinCase{31, 45296, "2024年1月5日"},
                    BuiltinCase{34, 45296, "2024年1月"}, BuiltinCase{35, 45296, "1月5日"},
                    BuiltinCase{37, -1234, "-1,234"}, BuiltinCase{41, 0, " - "},
                    BuiltinCase{41, 1234, " 1,234 "}, BuiltinCase{43, 0, " -   "},
                    BuiltinCase{47, 123456.789, "56:09.6"}, BuiltinCase{49, 12, "12"},
                    BuiltinCase{100, 2.5, "2.5"}));

struct TextCase {
    const char* text;
    const char* code;
    const char* expected;
};

class TextFormatTable : public testing::TestWithParam<TextCase> {};

TEST_P(TextFormatTable, UsesTheTextSection) {
    const TextCase& c = GetParam();
    EXPECT_EQ(NumberFormatter::FormatText(QString::fromUtf8(c.text), QString::fromUtf8(c.code))
                  .toStdString(),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, TextFormatTable,
                         testing::Values(TextCase{"abc", "\"ID-\"@", "ID-abc"},
                                         TextCase{"山田", "@\"さん\"", "山田さん"},
                                         TextCase{"abc", "0.00", "abc"},
                                         TextCase{"abc", "0;-0;0;[Blue]\"<\"@\">\"", "<abc>"},
                                         TextCase{"abc", "0;-0;0;", ""},
                                         TextCase{"abc", "0;-0;0;General", "abc"},
                                         TextCase{"abc", "General", "abc"}));

TEST(NumberFormatterDates, Date1904SystemShiftsTheCalendar) {
    EXPECT_EQ(NumberFormatter::Format(43834, u"yyyy/m/d dddd", true), u"2024/1/5 Friday");
    EXPECT_EQ(NumberFormatter::Format(0, u"yyyy/m/d dddd", true), u"1904/1/1 Friday");
}

TEST(NumberFormatterDates, RecognisesDateCodes) {
    EXPECT_TRUE(NumberFormatter::IsDateFormat(u"yyyy/m/d"));
    EXPECT_TRUE(NumberFormatter::IsDateFormat(u"[h]:mm"));
    EXPECT_TRUE(NumberFormatter::IsDateFormat(u"[$-411]ge.m.d"));
    EXPECT_FALSE(NumberFormatter::IsDateFormat(u"0.00E+00"));
    EXPECT_FALSE(NumberFormatter::IsDateFormat(u"\"yyyy\"0"));
    EXPECT_FALSE(NumberFormatter::IsDateFormat(u"General"));
}

TEST(NumberFormatterLimits, HugeCodesFallBackWithoutFailing) {
    const QString longLiteral = QString(10000, u'x');
    EXPECT_EQ(NumberFormatter::Format(2.5, longLiteral, false), u"2.5");
    // Many percent signs would overflow a double; the decimal form keeps it finite.
    EXPECT_EQ(NumberFormatter::Format(1, QString(300, u'%').prepend(u'0'), false).size(), 901);
    EXPECT_EQ(
        NumberFormatter::Format(1.5, QString(500, u'?') + u'/' + QString(400, u'?'), false).size(),
        901);
}

}  // namespace
}  // namespace engine
