#include "engine/csv/CsvFormula.h"

#include "engine/Workbook.h"
#include "engine/format/GeneralNumber.h"

#include <QHash>
#include <cmath>

namespace engine {
namespace {

// Nesting beyond this (parentheses, or references leading to further formulas) is left
// unevaluated rather than recursing without bound.
constexpr int MaxDepth = 64;

struct Value {
    enum Kind { Empty, Number, Text, Boolean, Error } kind = Empty;
    double number = 0;
    QString text;  // Text, or the code of an Error
};

Value NumberValue(double n) {
    if (!std::isfinite(n)) {
        return {Value::Error, 0, QStringLiteral("#NUM!")};
    }
    return {Value::Number, n, {}};
}

Value ErrorValue(const char* code) {
    return {Value::Error, 0, QString::fromLatin1(code)};
}

// Thrown for what the evaluator does not cover; the formula is then left as it is.
struct Unevaluated {};

class Evaluator {
public:
    Evaluator(Workbook& book, std::vector<Cell>& cells) : book_(book), cells_(cells) {
        for (size_t i = 0; i < cells_.size(); ++i) {
            index_.insert(Key(cells_[i].row, cells_[i].column), i);
        }
        state_.assign(cells_.size(), Pending);
    }

    void Run() {
        for (size_t i = 0; i < cells_.size(); ++i) {
            if (cells_[i].formula != NoString) {
                Resolve(i, 0);
            }
        }
    }

private:
    enum State : uint8_t { Pending, Running, Done, Failed };

    static quint64 Key(int32_t row, int32_t column) {
        return (quint64(uint32_t(row)) << 32) | uint32_t(column);
    }

    // Evaluates formula cell `i` once and stores the result in the cell.
    void Resolve(size_t i, int depth) {
        if (state_[i] == Done || state_[i] == Failed) {
            return;
        }
        if (state_[i] == Running || depth > MaxDepth) {
            throw Unevaluated{};  // a circular reference
        }
        state_[i] = Running;
        const QString formula = book_.String(cells_[i].formula);
        try {
            Parser parser{*this, formula, 0, depth};
            Value v = parser.Comparison(0);
            parser.SkipSpaces();
            if (parser.at != formula.size()) {
                throw Unevaluated{};
            }
            Store(cells_[i], v);
            state_[i] = Done;
        } catch (const Unevaluated&) {
            state_[i] = Failed;
            if (depth > 0) {
                throw;
            }
        }
    }

    void Store(Cell& cell, const Value& v) {
        switch (v.kind) {
            case Value::Empty:
            case Value::Number:
                cell.type = CellType::Number;
                cell.number = v.number;
                break;
            case Value::Text:
                cell.type = CellType::Text;
                cell.text = book_.AddString(v.text);
                break;
            case Value::Boolean:
                cell.type = CellType::Boolean;
                cell.number = v.number;
                break;
            case Value::Error:
                cell.type = CellType::Error;
                cell.text = book_.AddString(v.text);
                break;
        }
    }

    Value CellValue(int32_t row, int32_t column, int depth) {
        const auto it = index_.constFind(Key(row, column));
        if (it == index_.constEnd()) {
            return {};
        }
        if (cells_[*it].formula != NoString) {
            Resolve(*it, depth + 1);
            if (state_[*it] != Done) {
                throw Unevaluated{};
            }
        }
        const Cell& cell = cells_[*it];
        switch (cell.type) {
            case CellType::Number:
                return {Value::Number, cell.number, {}};
            case CellType::Text:
                return {Value::Text, 0, book_.String(cell.text)};
            case CellType::Boolean:
                return {Value::Boolean, cell.number, {}};
            case CellType::Error:
                return {Value::Error, 0, book_.String(cell.text)};
            case CellType::Blank:
                break;
        }
        return {};
    }

    // Recursive descent over one formula text, lowest precedence first.
    struct Parser {
        Evaluator& owner;
        QStringView text;
        qsizetype at;
        int depth;

        void SkipSpaces() {
            while (at < text.size() && text[at] == u' ') {
                ++at;
            }
        }
        bool Accept(QStringView token) {
            SkipSpaces();
            if (text.mid(at).startsWith(token)) {
                at += token.size();
                return true;
            }
            return false;
        }

        Value Comparison(int nesting) {
            if (nesting > MaxDepth) {
                throw Unevaluated{};
            }
            Value left = Concatenation(nesting);
            for (;;) {
                int op = 0;
                for (const char16_t* token : {u"<>", u"<=", u">=", u"=", u"<", u">"}) {
                    if (Accept(token)) {
                        op = token[0] * 256 + token[1];
                        break;
                    }
                }
                if (op == 0) {
                    return left;
                }
                left = Compare(left, Concatenation(nesting), op);
            }
        }
        Value Concatenation(int nesting) {
            Value left = Additive(nesting);
            while (Accept(u"&")) {
                const Value right = Additive(nesting);
                if (left.kind == Value::Error) {
                    continue;
                }
                left = right.kind == Value::Error
                           ? right
                           : Value{Value::Text, 0, AsText(left) + AsText(right)};
            }
            return left;
        }
        Value Additive(int nesting) {
            Value left = Multiplicative(nesting);
            for (;;) {
                if (Accept(u"+")) {
                    left = Arithmetic(left, Multiplicative(nesting), u'+');
                } else if (Accept(u"-")) {
                    left = Arithmetic(left, Multiplicative(nesting), u'-');
                } else {
                    return left;
                }
            }
        }
        Value Multiplicative(int nesting) {
            Value left = Power(nesting);
            for (;;) {
                if (Accept(u"*")) {
                    left = Arithmetic(left, Power(nesting), u'*');
                } else if (Accept(u"/")) {
                    left = Arithmetic(left, Power(nesting), u'/');
                } else {
                    return left;
                }
            }
        }
        Value Power(int nesting) {
            Value left = Unary(nesting);
            while (Accept(u"^")) {
                left = Arithmetic(left, Unary(nesting), u'^');
            }
            return left;
        }
        // Unary minus binds tighter than ^ in the application: -2^2 is 4.
        Value Unary(int nesting) {
            if (nesting > MaxDepth) {
                throw Unevaluated{};
            }
            if (Accept(u"-")) {
                return Arithmetic(NumberValue(0), Unary(nesting + 1), u'-');
            }
            if (Accept(u"+")) {
                return Unary(nesting + 1);
            }
            Value v = Primary(nesting);
            while (Accept(u"%")) {
                v = Arithmetic(v, NumberValue(100), u'/');
            }
            return v;
        }
        Value Primary(int nesting) {
            SkipSpaces();
            if (at >= text.size()) {
                throw Unevaluated{};
            }
            if (Accept(u"(")) {
                Value v = Comparison(nesting + 1);
                if (!Accept(u")")) {
                    throw Unevaluated{};
                }
                return v;
            }
            if (text[at] == u'"') {
                return String();
            }
            if (text[at].isDigit() || text[at] == u'.') {
                return Number();
            }
            return Name();
        }
        Value String() {
            QString s;
            for (++at; at < text.size(); ++at) {
                if (text[at] == u'"') {
                    if (at + 1 < text.size() && text[at + 1] == u'"') {
                        s.append(u'"');
                        ++at;
                        continue;
                    }
                    ++at;
                    return {Value::Text, 0, s};
                }
                s.append(text[at]);
            }
            throw Unevaluated{};  // unclosed string
        }
        Value Number() {
            const qsizetype start = at;
            while (at < text.size() && (text[at].isDigit() || text[at] == u'.')) {
                ++at;
            }
            if (at < text.size() && (text[at] == u'E' || text[at] == u'e')) {
                ++at;
                if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
                    ++at;
                }
                while (at < text.size() && text[at].isDigit()) {
                    ++at;
                }
            }
            bool ok = false;
            const double n = text.mid(start, at - start).toDouble(&ok);
            if (!ok) {
                throw Unevaluated{};
            }
            return NumberValue(n);
        }
        // TRUE, FALSE, a cell reference, or a name the file cannot define (#NAME?).
        Value Name() {
            const qsizetype start = at;
            while (at < text.size() && (text[at].isLetterOrNumber() || text[at] == u'$' ||
                                        text[at] == u'_' || text[at] == u'.')) {
                ++at;
            }
            const QStringView name = text.mid(start, at - start);
            SkipSpaces();
            if (name.isEmpty() ||
                (at < text.size() && (text[at] == u'(' || text[at] == u':' || text[at] == u'!'))) {
                throw Unevaluated{};  // a function, a range or another sheet
            }
            if (name.compare(u"TRUE", Qt::CaseInsensitive) == 0) {
                return {Value::Boolean, 1, {}};
            }
            if (name.compare(u"FALSE", Qt::CaseInsensitive) == 0) {
                return {Value::Boolean, 0, {}};
            }
            int32_t row = 0;
            int32_t column = 0;
            if (ParseReference(name, row, column)) {
                return owner.CellValue(row, column, depth);
            }
            return ErrorValue("#NAME?");
        }
    };

    static bool ParseReference(QStringView name, int32_t& row, int32_t& column) {
        qsizetype i = 0;
        if (i < name.size() && name[i] == u'$') {
            ++i;
        }
        int64_t col = 0;
        const qsizetype letters = i;
        while (i < name.size() && name[i].isLetter() && name[i].unicode() < 128 &&
               i - letters < 3) {
            col = col * 26 + (name[i].toUpper().unicode() - u'A' + 1);
            ++i;
        }
        if (i == letters) {
            return false;
        }
        if (i < name.size() && name[i] == u'$') {
            ++i;
        }
        const QStringView digits = name.mid(i);
        bool ok = !digits.isEmpty() && digits.front() != u'0';
        const int64_t r = ok ? digits.toLongLong(&ok) : 0;
        for (QChar c : digits) {
            ok = ok && c.unicode() >= u'0' && c.unicode() <= u'9';
        }
        if (!ok || col > MaxColumns || r < 1 || r > MaxRows) {
            return false;
        }
        row = static_cast<int32_t>(r);
        column = static_cast<int32_t>(col);
        return true;
    }

    static QString AsText(const Value& v) {
        switch (v.kind) {
            case Value::Number:
                return GeneralNumber::Display(v.number);
            case Value::Boolean:
                return v.number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
            case Value::Text:
            case Value::Error:
                return v.text;
            case Value::Empty:
                break;
        }
        return {};
    }

    // A number from a value in arithmetic; text must read as a number.
    static std::optional<double> AsNumber(const Value& v) {
        if (v.kind == Value::Text) {
            bool ok = false;
            const double n = v.text.trimmed().toDouble(&ok);
            return ok ? std::optional<double>(n) : std::nullopt;
        }
        return v.number;
    }

    static Value Arithmetic(const Value& a, const Value& b, char16_t op) {
        if (a.kind == Value::Error) {
            return a;
        }
        if (b.kind == Value::Error) {
            return b;
        }
        const auto x = AsNumber(a);
        const auto y = AsNumber(b);
        if (!x || !y) {
            return ErrorValue("#VALUE!");
        }
        switch (op) {
            case u'+':
                return NumberValue(*x + *y);
            case u'-':
                return NumberValue(*x - *y);
            case u'*':
                return NumberValue(*x * *y);
            case u'/':
                return *y == 0 ? ErrorValue("#DIV/0!") : NumberValue(*x / *y);
            default:
                return NumberValue(std::pow(*x, *y));
        }
    }

    // Numbers sort before text, text before booleans; text compares without case.
    static Value Compare(const Value& a, const Value& b, int op) {
        if (a.kind == Value::Error) {
            return a;
        }
        if (b.kind == Value::Error) {
            return b;
        }
        const auto rank = [](const Value& v) {
            return v.kind == Value::Text ? 1 : v.kind == Value::Boolean ? 2 : 0;
        };
        int order = rank(a) - rank(b);
        if (order == 0) {
            order = rank(a) == 1 ? a.text.compare(b.text, Qt::CaseInsensitive)
                                 : (a.number < b.number   ? -1
                                    : a.number > b.number ? 1
                                                          : 0);
        }
        bool result = false;
        switch (op) {
            case u'<' * 256 + u'>':
                result = order != 0;
                break;
            case u'<' * 256 + u'=':
                result = order <= 0;
                break;
            case u'>' * 256 + u'=':
                result = order >= 0;
                break;
            case u'=' * 256:
                result = order == 0;
                break;
            case u'<' * 256:
                result = order < 0;
                break;
            default:
                result = order > 0;
                break;
        }
        return {Value::Boolean, result ? 1.0 : 0.0, {}};
    }

    Workbook& book_;
    std::vector<Cell>& cells_;
    QHash<quint64, size_t> index_;
    std::vector<State> state_;
};

}  // namespace

void CsvFormula::EvaluateAll(Workbook& book, std::vector<Cell>& cells) {
    Evaluator(book, cells).Run();
}

}  // namespace engine
