#include "engine/xlsx/FormulaText.h"

#include "automation/Tcsvutility.h"
#include "engine/Cell.h"

namespace engine {
namespace {

const QString RefError = QStringLiteral("#REF!");

constexpr QStringView FuturePrefixes[] = {u"_xlfn.", u"_xlws.", u"_xlpm.", u"_xludf."};

constexpr QStringView ErrorLiterals[] = {u"#NULL!",  u"#DIV/0!", u"#VALUE!", u"#REF!",
                                         u"#NAME?",  u"#NUM!",   u"#N/A",    u"#GETTING_DATA",
                                         u"#SPILL!", u"#CALC!"};

bool IsNameCharacter(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'$' || c == u'\\';
}

// `$`, letters, `$`, digits: the parts of "$A$1".
struct CellParts {
    bool columnFixed = false;
    QStringView letters;
    bool rowFixed = false;
    QStringView digits;
};

bool IsAsciiLetter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool IsAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Skips an optional `$`, then up to `maximum` characters of one class; false when none.
template <typename Predicate>
bool TakeRun(QStringView token, qsizetype& at, qsizetype maximum, Predicate is, bool& fixed,
             QStringView& run) {
    fixed = at < token.size() && token[at] == u'$';
    qsizetype start = at + (fixed ? 1 : 0);
    qsizetype end = start;
    while (end < token.size() && is(token[end])) {
        ++end;
    }
    if (end == start || end - start > maximum) {
        return false;
    }
    run = token.mid(start, end - start);
    at = end;
    return true;
}

bool SplitCell(QStringView token, CellParts& parts) {
    qsizetype at = 0;
    return TakeRun(token, at, 3, IsAsciiLetter, parts.columnFixed, parts.letters) &&
           TakeRun(token, at, 7, IsAsciiDigit, parts.rowFixed, parts.digits) && at == token.size();
}

bool IsColumnToken(QStringView token) {
    qsizetype at = 0;
    bool fixed = false;
    QStringView run;
    return TakeRun(token, at, 3, IsAsciiLetter, fixed, run) && at == token.size();
}

bool IsRowToken(QStringView token) {
    qsizetype at = 0;
    bool fixed = false;
    QStringView run;
    return TakeRun(token, at, 7, IsAsciiDigit, fixed, run) && at == token.size();
}

// The column or row number moved by `offset`, or 0 when it leaves the sheet.
int Moved(int value, int offset, int limit) {
    const long long moved = static_cast<long long>(value) + offset;
    return moved >= 1 && moved <= limit ? static_cast<int>(moved) : 0;
}

QString ColumnLetters(int column) {
    return TCsvUtility::ColumnIndexToName(column - 1);
}

qsizetype SkipQuoted(const QString& text, qsizetype at, QChar quote) {
    // Returns the index after the closing quote; a doubled quote stays inside.
    for (qsizetype i = at + 1; i < text.size(); ++i) {
        if (text[i] == quote) {
            if (i + 1 < text.size() && text[i + 1] == quote) {
                ++i;
                continue;
            }
            return i + 1;
        }
    }
    return text.size();
}

qsizetype SkipBrackets(const QString& text, qsizetype at) {
    int depth = 0;
    for (qsizetype i = at; i < text.size(); ++i) {
        if (text[i] == u'[') {
            ++depth;
        } else if (text[i] == u']' && --depth == 0) {
            return i + 1;
        }
    }
    return text.size();
}

QString WithoutPrefixes(QStringView token) {
    bool stripped = true;
    while (stripped) {
        stripped = false;
        for (QStringView prefix : FuturePrefixes) {
            if (token.startsWith(prefix, Qt::CaseInsensitive)) {
                token = token.mid(prefix.size());
                stripped = true;
            }
        }
    }
    return token.toString();
}

}  // namespace

QString FormulaText::Translate(const QString& formula, int rowOffset, int columnOffset) {
    const bool moving = rowOffset != 0 || columnOffset != 0;
    if (!moving && !formula.contains(u"_xl", Qt::CaseInsensitive)) {
        return formula;  // most formulas: nothing to move and no prefix to hide
    }
    QString out;
    out.reserve(formula.size());
    qsizetype i = 0;
    while (i < formula.size()) {
        const QChar c = formula[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = SkipQuoted(formula, i, c);
            out += QStringView(formula).mid(i, end - i);
            i = end;
        } else if (c == u'[') {
            const qsizetype end = SkipBrackets(formula, i);
            out += QStringView(formula).mid(i, end - i);
            i = end;
        } else if (c == u'#') {
            qsizetype length = 1;
            for (QStringView error : ErrorLiterals) {
                if (QStringView(formula).mid(i).startsWith(error, Qt::CaseInsensitive)) {
                    length = error.size();
                    break;
                }
            }
            out += QStringView(formula).mid(i, length);
            i += length;
        } else if (IsNameCharacter(c)) {
            qsizetype end = i;
            while (end < formula.size() && IsNameCharacter(formula[end])) {
                ++end;
            }
            const QStringView token = QStringView(formula).mid(i, end - i);
            const QChar next = end < formula.size() ? formula[end] : QChar();
            // A range of whole columns or rows: "A:C", "$1:3".
            qsizetype secondEnd = end + 1;
            while (next == u':' && secondEnd < formula.size() &&
                   IsNameCharacter(formula[secondEnd])) {
                ++secondEnd;
            }
            const QStringView second = QStringView(formula).mid(end + 1, secondEnd - end - 1);
            CellParts parts;
            if (next == u'(' || next == u'!') {
                out += WithoutPrefixes(token);
            } else if (!moving) {
                out += WithoutPrefixes(token);
            } else if (next == u':' && IsColumnToken(token) && IsColumnToken(second)) {
                out += ShiftColumn(token, columnOffset) + u':' + ShiftColumn(second, columnOffset);
                end = secondEnd;
            } else if (next == u':' && IsRowToken(token) && IsRowToken(second)) {
                out += ShiftRow(token, rowOffset) + u':' + ShiftRow(second, rowOffset);
                end = secondEnd;
            } else if (SplitCell(token, parts)) {
                out += ShiftCell(token, rowOffset, columnOffset);
            } else {
                out += WithoutPrefixes(token);
            }
            i = end;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

QString FormulaText::ShiftCell(QStringView token, int rowOffset, int columnOffset) {
    CellParts parts;
    SplitCell(token, parts);
    const int column = TCsvUtility::ColumnNameToIndex(parts.letters.toString().toUpper()) + 1;
    const int row = parts.digits.toInt();
    if (column < 1 || column > MaxColumns || row < 1 || row > MaxRows) {
        return token.toString();  // not a reference after all (a name such as "ABCD1")
    }
    const int newColumn = parts.columnFixed ? column : Moved(column, columnOffset, MaxColumns);
    const int newRow = parts.rowFixed ? row : Moved(row, rowOffset, MaxRows);
    if (newColumn == 0 || newRow == 0) {
        return RefError;
    }
    return (parts.columnFixed ? QStringLiteral("$") : QString()) + ColumnLetters(newColumn) +
           (parts.rowFixed ? QStringLiteral("$") : QString()) + QString::number(newRow);
}

QString FormulaText::ShiftColumn(QStringView token, int columnOffset) {
    if (token.startsWith(u'$')) {
        return token.toString();
    }
    const int column = TCsvUtility::ColumnNameToIndex(token.toString().toUpper()) + 1;
    const int moved = Moved(column, columnOffset, MaxColumns);
    return moved == 0 ? RefError : ColumnLetters(moved);
}

QString FormulaText::ShiftRow(QStringView token, int rowOffset) {
    if (token.startsWith(u'$')) {
        return token.toString();
    }
    const int moved = Moved(token.toInt(), rowOffset, MaxRows);
    return moved == 0 ? RefError : QString::number(moved);
}

}  // namespace engine
