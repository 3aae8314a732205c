#include "engine/readers/xlsx/FormulaText.h"

#include "automation/Tcsvutility.h"
#include "engine/model/Cell.h"

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
// Appends the decimal digits of `value` (> 0) without a temporary string: members of a
// shared formula are rendered for every cell.
void AppendNumber(int value, QString& out) {
    char16_t digits[10];
    int count = 0;
    for (auto rest = static_cast<unsigned>(value); rest > 0; rest /= 10) {
        digits[count++] = static_cast<char16_t>(u'0' + rest % 10);
    }
    while (count > 0) {
        out += QChar(digits[--count]);
    }
}

int MovedBy(int value, int offset, int limit) {
    const long long moved = static_cast<long long>(value) + offset;
    return moved >= 1 && moved <= limit ? static_cast<int>(moved) : 0;
}

// 1-based column of the letters, 0 when they are beyond the sheet.
int ColumnNumber(QStringView letters) {
    return TCsvUtility::ColumnNameToIndex(letters.toString()) + 1;
}

// The column and row a cell reference names; false when they are beyond the sheet (a name
// such as "ABCD1").
bool CellNumbers(const CellParts& parts, int32_t& column, int32_t& row) {
    column = ColumnNumber(parts.letters);
    row = parts.digits.toInt();
    return column >= 1 && row >= 1 && row <= MaxRows;
}

// The column letters or row digits of a range end, after an optional `$`.
QStringView Unfixed(QStringView token) {
    return token.startsWith(u'$') ? token.mid(1) : token;
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

// The length of the future-function prefixes at the start of a name.
qsizetype PrefixLength(QStringView token) {
    qsizetype length = 0;
    bool stripped = true;
    while (stripped) {
        stripped = false;
        for (QStringView prefix : FuturePrefixes) {
            if (token.mid(length).startsWith(prefix, Qt::CaseInsensitive)) {
                length += prefix.size();
                stripped = true;
            }
        }
    }
    return length;
}

}  // namespace

FormulaText::FormulaText(QString formula) : formula_(std::move(formula)) {
    const QString& f = formula_;
    qsizetype i = 0;
    while (i < f.size()) {
        const QChar c = f[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = SkipQuoted(f, i, c);
            AddText(i, end - i);
            i = end;
        } else if (c == u'[') {
            const qsizetype end = SkipBrackets(f, i);
            AddText(i, end - i);
            i = end;
        } else if (c == u'#') {
            qsizetype length = 1;
            for (QStringView error : ErrorLiterals) {
                if (QStringView(f).mid(i).startsWith(error, Qt::CaseInsensitive)) {
                    length = error.size();
                    break;
                }
            }
            AddText(i, length);
            i += length;
        } else if (IsNameCharacter(c)) {
            qsizetype end = i;
            while (end < f.size() && IsNameCharacter(f[end])) {
                ++end;
            }
            const QStringView token = QStringView(f).mid(i, end - i);
            const QChar next = end < f.size() ? f[end] : QChar();
            // A range of whole columns or rows: "A:C", "$1:3".
            qsizetype secondEnd = end + 1;
            while (next == u':' && secondEnd < f.size() && IsNameCharacter(f[secondEnd])) {
                ++secondEnd;
            }
            const QStringView second = QStringView(f).mid(end + 1, secondEnd - end - 1);
            CellParts parts;
            const bool call = next == u'(' || next == u'!';
            if (!call && next == u':' && IsColumnToken(token) && IsColumnToken(second)) {
                pieces_.push_back({Kind::Columns, i, secondEnd - i, ColumnNumber(Unfixed(token)),
                                   ColumnNumber(Unfixed(second)), token.startsWith(u'$'),
                                   second.startsWith(u'$')});
                end = secondEnd;
            } else if (!call && next == u':' && IsRowToken(token) && IsRowToken(second)) {
                pieces_.push_back({Kind::Rows, i, secondEnd - i, Unfixed(token).toInt(),
                                   Unfixed(second).toInt(), token.startsWith(u'$'),
                                   second.startsWith(u'$')});
                end = secondEnd;
            } else if (int32_t column = 0, row = 0;
                       !call && SplitCell(token, parts) && CellNumbers(parts, column, row)) {
                pieces_.push_back(
                    {Kind::Cell, i, end - i, column, row, parts.columnFixed, parts.rowFixed});
            } else {
                // Anything else that looks like a name: a function, a sheet, a defined name,
                // a number ("1.5E"); shown without its prefixes.
                const qsizetype prefix = PrefixLength(token);
                AddText(i + prefix, end - i - prefix);
            }
            i = end;
        } else {
            AddText(i, 1);
            ++i;
        }
    }
}

void FormulaText::AddText(qsizetype start, qsizetype length) {
    if (length == 0) {
        return;
    }
    if (!pieces_.empty() && pieces_.back().kind == Kind::Text &&
        pieces_.back().start + pieces_.back().length == start) {
        pieces_.back().length += length;
        return;
    }
    pieces_.push_back({Kind::Text, start, length});
}

QString FormulaText::Moved(int rowOffset, int columnOffset) const {
    const bool moving = rowOffset != 0 || columnOffset != 0;
    if (pieces_.size() == 1 && pieces_[0].kind == Kind::Text &&
        pieces_[0].length == formula_.size()) {
        return formula_;  // nothing to move and no prefix to hide
    }
    QString out;
    out.reserve(formula_.size() + 8);
    for (const Piece& piece : pieces_) {
        if (piece.kind == Kind::Text || !moving) {
            out += QStringView(formula_).mid(piece.start, piece.length);
        } else {
            AppendMoved(piece, rowOffset, columnOffset, out);
        }
    }
    return out;
}

void FormulaText::AppendMoved(const Piece& piece, int rowOffset, int columnOffset,
                              QString& out) const {
    const auto column = [&](int value, bool fixed) {
        return fixed ? value : MovedBy(value, columnOffset, MaxColumns);
    };
    const auto row = [&](int value, bool fixed) {
        return fixed ? value : MovedBy(value, rowOffset, MaxRows);
    };
    const auto appendColumn = [&out](int value, bool fixed) {
        if (fixed) {
            out += u'$';
        }
        TCsvUtility::AppendColumnName(value - 1, out);
    };
    const auto appendRow = [&out](int value, bool fixed) {
        if (fixed) {
            out += u'$';
        }
        AppendNumber(value, out);
    };
    switch (piece.kind) {
        case Kind::Cell: {
            const int newColumn = column(piece.first, piece.firstFixed);
            const int newRow = row(piece.second, piece.secondFixed);
            if (newColumn == 0 || newRow == 0) {
                out += RefError;
                return;
            }
            appendColumn(newColumn, piece.firstFixed);
            appendRow(newRow, piece.secondFixed);
            return;
        }
        case Kind::Columns:
        case Kind::Rows: {
            // Each end moves on its own; a fixed end is shown exactly as written.
            const bool columns = piece.kind == Kind::Columns;
            const QStringView text = QStringView(formula_).mid(piece.start, piece.length);
            const qsizetype colon = text.indexOf(u':');
            const QStringView ends[] = {text.left(colon), text.mid(colon + 1)};
            const int values[] = {piece.first, piece.second};
            const bool fixed[] = {piece.firstFixed, piece.secondFixed};
            for (int end = 0; end < 2; ++end) {
                if (end == 1) {
                    out += u':';
                }
                const int moved = columns ? column(values[end], false) : row(values[end], false);
                if (fixed[end]) {
                    out += ends[end];
                } else if (moved == 0) {
                    out += RefError;
                } else if (columns) {
                    appendColumn(moved, false);
                } else {
                    appendRow(moved, false);
                }
            }
            return;
        }
        case Kind::Text:
            break;
    }
}

QString FormulaText::Translate(const QString& formula, int rowOffset, int columnOffset) {
    const bool moving = rowOffset != 0 || columnOffset != 0;
    // A case-insensitive search costs more than looking for the underscore first.
    if (!moving && (!formula.contains(u'_') || !formula.contains(u"_xl", Qt::CaseInsensitive))) {
        return formula;  // most formulas: nothing to move and no prefix to hide
    }
    return FormulaText(formula).Moved(rowOffset, columnOffset);
}

}  // namespace engine
