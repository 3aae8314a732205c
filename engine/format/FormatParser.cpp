#include "engine/format/FormatParser.h"

#include <QString>
#include <algorithm>

namespace engine {
namespace {

constexpr int MaxSections = 4;
// Locale tags that stand for the system's long date and time (ja-JP forms).
constexpr uint32_t SystemLongDate = 0xF800;
constexpr uint32_t SystemTime = 0xF400;
constexpr uint32_t JapaneseLcid = 0x0411;

bool IsDigitPlaceholder(QChar c) {
    return c == u'0' || c == u'#' || c == u'?';
}

bool StartsWithNoCase(QStringView text, qsizetype at, QStringView word) {
    return text.mid(at).startsWith(word, Qt::CaseInsensitive);
}

int RunLength(QStringView text, qsizetype at) {
    const QChar letter = text[at].toLower();
    int count = 0;
    while (at + count < text.size() && text[at + count].toLower() == letter) {
        ++count;
    }
    return count;
}

void AddLiteral(FormatSection& section, const QString& text) {
    if (!section.tokens.empty() && section.tokens.back().kind == FormatTokenKind::Literal &&
        section.tokens.back().placeholder == 0) {
        section.tokens.back().text += text;
        return;
    }
    FormatToken token;
    token.text = text;
    section.tokens.push_back(std::move(token));
}

void AddToken(FormatSection& section, FormatTokenKind kind, int count = 1, char placeholder = 0) {
    FormatToken token;
    token.kind = kind;
    token.count = count;
    token.placeholder = placeholder;
    section.tokens.push_back(std::move(token));
}

// Splits at `;` outside quotes, brackets and escapes. False for an unterminated quote or
// bracket.
bool SplitSections(QStringView code, std::vector<QStringView>& parts) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'"') {
            const qsizetype end = code.indexOf(u'"', i + 1);
            if (end < 0) {
                return false;
            }
            i = end;
        } else if (c == u'[') {
            const qsizetype end = code.indexOf(u']', i + 1);
            if (end < 0) {
                return false;
            }
            i = end;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u';') {
            parts.push_back(code.mid(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(code.mid(start));
    return true;
}

bool IsDateKind(FormatTokenKind kind) {
    return kind >= FormatTokenKind::Year;
}

}  // namespace

FormatCode FormatParser::Parse(QStringView code) {
    FormatCode result;
    std::vector<QStringView> parts;
    if (code.size() > MaxCodeLength || !SplitSections(code, parts) || parts.size() > MaxSections) {
        return result;
    }
    for (QStringView part : parts) {
        FormatSection section;
        if (!ParseSection(part, section)) {
            return FormatCode{};
        }
        result.sections.push_back(std::move(section));
    }
    return result;
}

bool FormatParser::ParseSection(QStringView text, FormatSection& section) {
    // `[$-F800]` and `[$-F400]` stand for the system's long date and time: the rest of the
    // section is only what other locales would show.
    if (text.startsWith(u"[$-")) {
        const qsizetype end = text.indexOf(u']');
        bool ok = false;
        const uint32_t lcid = text.mid(3, end - 3).toUInt(&ok, 16) & 0xFFFF;
        if (ok && lcid == SystemLongDate) {
            return ParseSection(u"yyyy\"年\"m\"月\"d\"日\"", section);
        }
        if (ok && lcid == SystemTime) {
            return ParseSection(u"h:mm:ss", section);
        }
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar lower = c.toLower();
        if (c == u'"') {
            const qsizetype end = text.indexOf(u'"', i + 1);
            AddLiteral(section, text.mid(i + 1, end - i - 1).toString());
            i = end;
        } else if (c == u'\\') {
            if (i + 1 < text.size()) {
                AddLiteral(section, text.mid(++i, 1).toString());
            }
        } else if (c == u'_') {
            ++i;
            AddLiteral(section, QStringLiteral(" "));
        } else if (c == u'*') {
            ++i;  // fills the column width, which we do not have
        } else if (c == u'[') {
            const qsizetype end = text.indexOf(u']', i + 1);
            if (!ParseBracket(text.mid(i + 1, end - i - 1), section)) {
                return false;
            }
            i = end;
        } else if (IsDigitPlaceholder(c)) {
            AddToken(section, FormatTokenKind::Digit, 1, static_cast<char>(c.unicode()));
        } else if (c == u'.') {
            AddToken(section, FormatTokenKind::DecimalPoint);
        } else if (c == u'%') {
            AddToken(section, FormatTokenKind::Percent);
            ++section.percents;
        } else if (c == u'@') {
            AddToken(section, FormatTokenKind::TextValue);
            section.hasText = true;
        } else if (lower == u'e' && i + 1 < text.size() &&
                   (text[i + 1] == u'+' || text[i + 1] == u'-')) {
            AddToken(section, FormatTokenKind::Exponent, 1,
                     static_cast<char>(text[i + 1].unicode()));
            ++i;
        } else if (StartsWithNoCase(text, i, u"general")) {
            AddToken(section, FormatTokenKind::General);
            i += 6;
        } else if (StartsWithNoCase(text, i, u"am/pm") || StartsWithNoCase(text, i, u"a/p")) {
            const qsizetype length = StartsWithNoCase(text, i, u"am/pm") ? 5 : 3;
            AddToken(section, FormatTokenKind::AmPm);
            section.tokens.back().text = text.mid(i, length).toString();
            section.hasAmPm = true;
            i += length - 1;
        } else if (lower == u'y' || lower == u'm' || lower == u'd' || lower == u'h' ||
                   lower == u's' || lower == u'g' || lower == u'e' ||
                   (lower == u'a' && RunLength(text, i) >= 3)) {
            const int count = RunLength(text, i);
            const FormatTokenKind kind = lower == u'y'   ? FormatTokenKind::Year
                                         : lower == u'm' ? FormatTokenKind::Month
                                         : lower == u'd' ? FormatTokenKind::Day
                                         : lower == u'h' ? FormatTokenKind::Hour
                                         : lower == u's' ? FormatTokenKind::Second
                                         : lower == u'g' ? FormatTokenKind::Era
                                         : lower == u'e' ? FormatTokenKind::EraYear
                                                         : FormatTokenKind::JapaneseDay;
            AddToken(section, kind, count);
            i += count - 1;
        } else if (c == u',' || c == u'/') {
            // Resolved once the whole section is known (grouping, scaling, fraction).
            AddToken(section, FormatTokenKind::Literal, 1, static_cast<char>(c.unicode()));
            section.tokens.back().text = QString(c);
        } else {
            AddLiteral(section, QString(c));
        }
    }
    for (const FormatToken& token : section.tokens) {
        section.isDate = section.isDate || IsDateKind(token.kind);
        section.hasDigits = section.hasDigits || token.kind == FormatTokenKind::Digit ||
                            token.kind == FormatTokenKind::General;
        if (token.kind == FormatTokenKind::Literal &&
            (token.text.contains(u'-') || token.text.contains(u'('))) {
            section.hasLiteralSign = true;
        }
    }
    if (section.isDate) {
        ResolveMinutes(section);
    } else {
        ResolveNumberParts(section);
    }
    return true;
}

bool FormatParser::ParseBracket(QStringView content, FormatSection& section) {
    if (content.isEmpty()) {
        return true;
    }
    const QChar first = content[0];
    if (first == u'$') {
        const qsizetype dash = content.indexOf(u'-');
        const QStringView symbol = content.mid(1, dash < 0 ? -1 : dash - 1);
        if (!symbol.isEmpty()) {
            AddLiteral(section, symbol.toString());
        }
        if (dash >= 0) {
            // The locale: an LCID in hex (the low 16 bits; higher ones carry the calendar
            // and numerals) or a tag such as ja-JP.
            const QStringView locale = content.sliced(dash + 1);
            bool ok = false;
            const uint32_t lcid = locale.toUInt(&ok, 16) & 0xFFFF;
            section.japanese =
                (ok && lcid == JapaneseLcid) || locale.startsWith(u"ja", Qt::CaseInsensitive);
        }
        return true;
    }
    if (content.size() == 6 && content.startsWith(u"DBNum", Qt::CaseInsensitive) &&
        content[5] >= u'1' && content[5] <= u'3') {
        section.numerals = content[5] == u'1'   ? FormatNumerals::Kanji
                           : content[5] == u'2' ? FormatNumerals::FormalKanji
                                                : FormatNumerals::FullWidth;
        return true;
    }
    if (first == u'<' || first == u'>' || first == u'=') {
        static const std::pair<QStringView, FormatComparison> operators[] = {
            {u"<=", FormatComparison::LessEqual}, {u">=", FormatComparison::GreaterEqual},
            {u"<>", FormatComparison::NotEqual},  {u"<", FormatComparison::Less},
            {u">", FormatComparison::Greater},    {u"=", FormatComparison::Equal},
        };
        for (const auto& [text, comparison] : operators) {
            if (content.startsWith(text)) {
                bool ok = false;
                section.operand = content.mid(text.size()).trimmed().toDouble(&ok);
                section.comparison = comparison;
                return ok;
            }
        }
    }
    const QChar lower = first.toLower();
    if ((lower == u'h' || lower == u'm' || lower == u's') &&
        RunLength(content, 0) == content.size()) {
        AddToken(section,
                 lower == u'h'   ? FormatTokenKind::ElapsedHours
                 : lower == u'm' ? FormatTokenKind::ElapsedMinutes
                                 : FormatTokenKind::ElapsedSeconds,
                 static_cast<int>(content.size()));
    }
    // Colours and other display hints do not change the text.
    return true;
}

// `m` is a minute right after an hour or right before a second; `.0` after seconds is a
// fraction of a second.
void FormatParser::ResolveMinutes(FormatSection& section) {
    auto& tokens = section.tokens;
    FormatTokenKind previous = FormatTokenKind::Literal;
    for (size_t i = 0; i < tokens.size(); ++i) {
        FormatToken& token = tokens[i];
        if (token.kind == FormatTokenKind::Month && token.count <= 2) {
            bool beforeSecond = false;
            for (size_t j = i + 1; j < tokens.size(); ++j) {
                if (tokens[j].kind == FormatTokenKind::Literal) {
                    continue;
                }
                beforeSecond = tokens[j].kind == FormatTokenKind::Second ||
                               tokens[j].kind == FormatTokenKind::ElapsedSeconds;
                break;
            }
            if (previous == FormatTokenKind::Hour || previous == FormatTokenKind::ElapsedHours ||
                beforeSecond) {
                token.kind = FormatTokenKind::Minute;
            }
        }
        if (token.kind == FormatTokenKind::DecimalPoint) {
            size_t digits = 0;
            while (i + 1 + digits < tokens.size() &&
                   tokens[i + 1 + digits].kind == FormatTokenKind::Digit &&
                   tokens[i + 1 + digits].placeholder == '0') {
                ++digits;
            }
            if (digits > 0) {
                token.kind = FormatTokenKind::SubSecond;
                token.count = static_cast<int>(std::min<size_t>(digits, 3));
                tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                             tokens.begin() + static_cast<std::ptrdiff_t>(i + 1 + digits));
            } else {
                token.kind = FormatTokenKind::Literal;
                token.text = QStringLiteral(".");
            }
        }
        if (token.kind != FormatTokenKind::Literal) {
            previous = token.kind;
        }
    }
}

// Decides what each `,` and `/` of a number section means: grouping between integer
// placeholders, scaling after the last placeholder, a fraction bar between placeholders.
void FormatParser::ResolveNumberParts(FormatSection& section) {
    auto& tokens = section.tokens;
    const auto isDigit = [&](size_t i) { return tokens[i].kind == FormatTokenKind::Digit; };
    bool seenDigit = false;
    bool afterPoint = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        FormatToken& token = tokens[i];
        if (token.kind == FormatTokenKind::DecimalPoint ||
            token.kind == FormatTokenKind::Exponent) {
            afterPoint = true;
        }
        if (isDigit(i)) {
            seenDigit = true;
            continue;
        }
        if (token.kind != FormatTokenKind::Literal || token.text.size() != 1) {
            continue;
        }
        if (token.placeholder == ',' && seenDigit) {
            bool digitAhead = false;
            for (size_t j = i + 1; j < tokens.size(); ++j) {
                if (isDigit(j)) {
                    digitAhead = true;
                    break;
                }
                if (tokens[j].kind != FormatTokenKind::Literal || tokens[j].placeholder != ',') {
                    break;
                }
            }
            if (digitAhead && !afterPoint) {
                section.grouping = true;
                token.text.clear();
            } else if (!digitAhead) {
                ++section.scalingCommas;
                token.text.clear();
            }
        } else if (token.placeholder == '/' && seenDigit && i + 1 < tokens.size()) {
            if (isDigit(i + 1)) {
                token.kind = FormatTokenKind::FractionSlash;
            } else if (tokens[i + 1].kind == FormatTokenKind::Literal &&
                       !tokens[i + 1].text.isEmpty() && tokens[i + 1].text[0].isDigit()) {
                // A fixed denominator: `?/8`, `# ??/100`.
                const QString& next = tokens[i + 1].text;
                qsizetype length = 0;
                while (length < next.size() && next[length].isDigit() && length < 6) {
                    ++length;
                }
                const int denominator = next.left(length).toInt();
                if (denominator > 0) {
                    token.kind = FormatTokenKind::FractionSlash;
                    FormatToken fixed;
                    fixed.kind = FormatTokenKind::Denominator;
                    fixed.count = denominator;
                    tokens[i + 1].text.remove(0, length);
                    tokens.insert(tokens.begin() + static_cast<std::ptrdiff_t>(i) + 1, fixed);
                }
            }
        }
    }
}

}  // namespace engine
