#include "engine/readers/csv/FormulaExpression.h"

#include "engine/format/GeneralNumber.h"
#include "engine/model/Cell.h"

#include <cmath>
#include <optional>

namespace engine {
namespace {

using Unevaluated = FormulaExpression::Unevaluated;

// Deeper nesting is left unevaluated rather than recursing without bound.
constexpr int MaxDepth = 64;

FormulaValue NumberValue(double n) {
    if (!std::isfinite(n)) {
        return {FormulaValue::Error, 0, QStringLiteral("#NUM!")};
    }
    return {FormulaValue::Number, n, {}};
}

FormulaValue ErrorValue(const char* code) {
    return {FormulaValue::Error, 0, QString::fromLatin1(code)};
}

bool ParseReference(QStringView name, int32_t& row, int32_t& column) {
    qsizetype i = 0;
    if (i < name.size() && name[i] == u'$') {
        ++i;
    }
    int64_t col = 0;
    const qsizetype letters = i;
    while (i < name.size() && name[i].isLetter() && name[i].unicode() < 128 && i - letters < 3) {
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

QString AsText(const FormulaValue& v) {
    switch (v.kind) {
        case FormulaValue::Number:
            return GeneralNumber::Display(v.number);
        case FormulaValue::Boolean:
            return v.number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        case FormulaValue::Text:
        case FormulaValue::Error:
            return v.text;
        case FormulaValue::Empty:
            break;
    }
    return {};
}

// A number from a value in arithmetic; text must read as a number.
std::optional<double> AsNumber(const FormulaValue& v) {
    if (v.kind == FormulaValue::Text) {
        bool ok = false;
        const double n = v.text.trimmed().toDouble(&ok);
        return ok ? std::optional<double>(n) : std::nullopt;
    }
    return v.number;
}

FormulaValue Arithmetic(const FormulaValue& a, const FormulaValue& b, char16_t op) {
    if (a.kind == FormulaValue::Error) {
        return a;
    }
    if (b.kind == FormulaValue::Error) {
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
FormulaValue Compare(const FormulaValue& a, const FormulaValue& b, int op) {
    if (a.kind == FormulaValue::Error) {
        return a;
    }
    if (b.kind == FormulaValue::Error) {
        return b;
    }
    const auto rank = [](const FormulaValue& v) {
        return v.kind == FormulaValue::Text ? 1 : v.kind == FormulaValue::Boolean ? 2 : 0;
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
    return {FormulaValue::Boolean, result ? 1.0 : 0.0, {}};
}

// Recursive descent over one formula text, lowest precedence first.
class Parser {
public:
    Parser(QStringView text, const FormulaExpression::CellLookup& lookup)
        : text_(text), lookup_(lookup) {}

    FormulaValue Whole() {
        FormulaValue v = Comparison(0);
        SkipSpaces();
        if (at_ != text_.size()) {
            throw Unevaluated{};
        }
        return v;
    }

private:
    void SkipSpaces() {
        while (at_ < text_.size() && text_[at_] == u' ') {
            ++at_;
        }
    }
    bool Accept(QStringView token) {
        SkipSpaces();
        if (text_.mid(at_).startsWith(token)) {
            at_ += token.size();
            return true;
        }
        return false;
    }

    FormulaValue Comparison(int nesting) {
        if (nesting > MaxDepth) {
            throw Unevaluated{};
        }
        FormulaValue left = Concatenation(nesting);
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
    FormulaValue Concatenation(int nesting) {
        FormulaValue left = Additive(nesting);
        while (Accept(u"&")) {
            const FormulaValue right = Additive(nesting);
            if (left.kind == FormulaValue::Error) {
                continue;
            }
            if (right.kind == FormulaValue::Error) {
                left = right;
                continue;
            }
            if (left.kind != FormulaValue::Text) {
                left = {FormulaValue::Text, 0, AsText(left)};
            }
            // Appended in place, so a chain of n parts costs linear time.
            left.text += AsText(right);
            if (left.text.size() > MaxTextLength) {
                left = ErrorValue("#VALUE!");  // longer than a cell holds, as the application says
            }
        }
        return left;
    }
    FormulaValue Additive(int nesting) {
        FormulaValue left = Multiplicative(nesting);
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
    FormulaValue Multiplicative(int nesting) {
        FormulaValue left = Power(nesting);
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
    FormulaValue Power(int nesting) {
        FormulaValue left = Unary(nesting);
        while (Accept(u"^")) {
            left = Arithmetic(left, Unary(nesting), u'^');
        }
        return left;
    }
    // Unary minus binds tighter than ^ in the application: -2^2 is 4.
    FormulaValue Unary(int nesting) {
        if (nesting > MaxDepth) {
            throw Unevaluated{};
        }
        if (Accept(u"-")) {
            return Arithmetic(NumberValue(0), Unary(nesting + 1), u'-');
        }
        if (Accept(u"+")) {
            return Unary(nesting + 1);
        }
        FormulaValue v = Primary(nesting);
        while (Accept(u"%")) {
            v = Arithmetic(v, NumberValue(100), u'/');
        }
        return v;
    }
    FormulaValue Primary(int nesting) {
        SkipSpaces();
        if (at_ >= text_.size()) {
            throw Unevaluated{};
        }
        if (Accept(u"(")) {
            FormulaValue v = Comparison(nesting + 1);
            if (!Accept(u")")) {
                throw Unevaluated{};
            }
            return v;
        }
        if (text_[at_] == u'"') {
            return Text();
        }
        if (text_[at_].isDigit() || text_[at_] == u'.') {
            return Number();
        }
        return Name();
    }
    FormulaValue Text() {
        QString s;
        for (++at_; at_ < text_.size(); ++at_) {
            if (text_[at_] == u'"') {
                if (at_ + 1 < text_.size() && text_[at_ + 1] == u'"') {
                    s.append(u'"');
                    ++at_;
                    continue;
                }
                ++at_;
                return {FormulaValue::Text, 0, s};
            }
            s.append(text_[at_]);
        }
        throw Unevaluated{};  // unclosed string
    }
    FormulaValue Number() {
        const qsizetype start = at_;
        while (at_ < text_.size() && (text_[at_].isDigit() || text_[at_] == u'.')) {
            ++at_;
        }
        if (at_ < text_.size() && (text_[at_] == u'E' || text_[at_] == u'e')) {
            ++at_;
            if (at_ < text_.size() && (text_[at_] == u'+' || text_[at_] == u'-')) {
                ++at_;
            }
            while (at_ < text_.size() && text_[at_].isDigit()) {
                ++at_;
            }
        }
        bool ok = false;
        const double n = text_.mid(start, at_ - start).toDouble(&ok);
        if (!ok) {
            throw Unevaluated{};
        }
        return NumberValue(n);
    }
    // TRUE, FALSE, a cell reference, or a name the file cannot define (#NAME?).
    FormulaValue Name() {
        const qsizetype start = at_;
        while (at_ < text_.size() && (text_[at_].isLetterOrNumber() || text_[at_] == u'$' ||
                                      text_[at_] == u'_' || text_[at_] == u'.')) {
            ++at_;
        }
        const QStringView name = text_.mid(start, at_ - start);
        SkipSpaces();
        if (name.isEmpty() || (at_ < text_.size() &&
                               (text_[at_] == u'(' || text_[at_] == u':' || text_[at_] == u'!'))) {
            throw Unevaluated{};  // a function, a range or another sheet
        }
        if (name.compare(u"TRUE", Qt::CaseInsensitive) == 0) {
            return {FormulaValue::Boolean, 1, {}};
        }
        if (name.compare(u"FALSE", Qt::CaseInsensitive) == 0) {
            return {FormulaValue::Boolean, 0, {}};
        }
        int32_t row = 0;
        int32_t column = 0;
        if (ParseReference(name, row, column)) {
            return lookup_(row, column);
        }
        return ErrorValue("#NAME?");
    }

    QStringView text_;
    const FormulaExpression::CellLookup& lookup_;
    qsizetype at_ = 0;
};

}  // namespace

FormulaValue FormulaExpression::Evaluate(QStringView formula, const CellLookup& lookup) {
    return Parser(formula, lookup).Whole();
}

}  // namespace engine
