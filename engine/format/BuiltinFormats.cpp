#include "engine/format/BuiltinFormats.h"

namespace engine {
namespace {

struct Builtin {
    int id;
    const char16_t* code;
};

constexpr char16_t JapaneseEraDate[] = u"[$-411]ge.m.d";
constexpr char16_t JapaneseEraLongDate[] = u"[$-411]ggge\"年\"m\"月\"d\"日\"";
constexpr char16_t YearMonth[] = u"yyyy\"年\"m\"月\"";
constexpr char16_t MonthDay[] = u"m\"月\"d\"日\"";

constexpr Builtin Builtins[] = {
    {0, u"General"},
    {1, u"0"},
    {2, u"0.00"},
    {3, u"#,##0"},
    {4, u"#,##0.00"},
    {5, u"¥#,##0;¥-#,##0"},
    {6, u"¥#,##0;[Red]¥-#,##0"},
    {7, u"¥#,##0.00;¥-#,##0.00"},
    {8, u"¥#,##0.00;[Red]¥-#,##0.00"},
    {9, u"0%"},
    {10, u"0.00%"},
    {11, u"0.00E+00"},
    {12, u"# ?/?"},
    {13, u"# \?\?/\?\?"},
    {14, u"yyyy/m/d"},
    {15, u"d-mmm-yy"},
    {16, u"d-mmm"},
    {17, u"mmm-yy"},
    {18, u"h:mm AM/PM"},
    {19, u"h:mm:ss AM/PM"},
    {20, u"h:mm"},
    {21, u"h:mm:ss"},
    {22, u"yyyy/m/d h:mm"},
    {27, JapaneseEraDate},
    {28, JapaneseEraLongDate},
    {29, JapaneseEraLongDate},
    {30, u"m/d/yy"},
    {31, u"yyyy\"年\"m\"月\"d\"日\""},
    {32, u"h\"時\"mm\"分\""},
    {33, u"h\"時\"mm\"分\"ss\"秒\""},
    {34, YearMonth},
    {35, MonthDay},
    {36, JapaneseEraDate},
    {37, u"#,##0;-#,##0"},
    {38, u"#,##0;[Red]-#,##0"},
    {39, u"#,##0.00;-#,##0.00"},
    {40, u"#,##0.00;[Red]-#,##0.00"},
    {41, u"_ * #,##0_ ;_ * -#,##0_ ;_ * \"-\"_ ;_ @_ "},
    {42, u"_ ¥* #,##0_ ;_ ¥* -#,##0_ ;_ ¥* \"-\"_ ;_ @_ "},
    {43, u"_ * #,##0.00_ ;_ * -#,##0.00_ ;_ * \"-\"\?\?_ ;_ @_ "},
    {44, u"_ ¥* #,##0.00_ ;_ ¥* -#,##0.00_ ;_ ¥* \"-\"\?\?_ ;_ @_ "},
    {45, u"mm:ss"},
    {46, u"[h]:mm:ss"},
    {47, u"mm:ss.0"},
    {48, u"##0.0E+0"},
    {49, u"@"},
    {50, JapaneseEraDate},
    {51, JapaneseEraLongDate},
    {52, YearMonth},
    {53, MonthDay},
    {54, JapaneseEraLongDate},
    {55, YearMonth},
    {56, MonthDay},
    {57, JapaneseEraDate},
    {58, JapaneseEraLongDate},
};

}  // namespace

QString BuiltinFormats::Code(int id) {
    for (const Builtin& builtin : Builtins) {
        if (builtin.id == id) {
            return QString::fromUtf16(builtin.code);
        }
    }
    return QStringLiteral("General");
}

}  // namespace engine
