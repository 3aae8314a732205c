#include "engine/calc/FormulaEvaluator.h"

#include "engine/calc/FormulaFunctions.h"
#include "engine/calc/FormulaOperand.h"
#include "engine/model/Cell.h"

#include <array>
#include <cmath>

namespace engine {
namespace {

using Operand = FormulaOperand;

constexpr std::array<const char16_t*, 7> ErrorLiterals = {
    u"#NULL!", u"#DIV/0!", u"#VALUE!", u"#REF!", u"#NAME?", u"#NUM!", u"#N/A"};

Operand Of(FormulaValue value) {
    return {std::move(value), std::nullopt, false};
}

bool IsNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'$' || c == u'_' || c == u'.' || c == u'\\';
}

// "A", "$AB": a column of at most three letters within the sheet.
bool ParseColumn(QStringView text, int32_t& column) {
    if (text.startsWith(u'$')) {
        text = text.sliced(1);
    }
    if (text.isEmpty() || text.size() > 3) {
        return false;
    }
    int64_t value = 0;
    for (QChar c : text) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z') {
            return false;
        }
        value = value * 26 + (u - u'A' + 1);
    }
    column = static_cast<int32_t>(value);
    return value <= MaxColumns;
}

// "12", "$12": a row within the sheet.
bool ParseRow(QStringView text, int32_t& row) {
    if (text.startsWith(u'$')) {
        text = text.sliced(1);
    }
    if (text.isEmpty() || text.size() > 7 || text.front() == u'0') {
        return false;
    }
    int64_t value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    row = static_cast<int32_t>(value);
    return value <= MaxRows;
}

// "B3", "$B$3".
bool ParseCell(QStringView text, int32_t& row, int32_t& column) {
    qsizetype split = text.startsWith(u'$') ? 1 : 0;
    while (split < text.size() && text[split].isLetter()) {
        ++split;
    }
    return ParseColumn(text.first(split), column) && ParseRow(text.sliced(split), row);
}

FormulaValue Arithmetic(const FormulaValue& a, const FormulaValue& b, char16_t op, bool date1904) {
    if (a.IsError()) {
        return a;
    }
    if (b.IsError()) {
        return b;
    }
    const auto x = a.AsNumber(date1904);
    const auto y = b.AsNumber(date1904);
    if (!x || !y) {
        return FormulaValue::OfError("#VALUE!");
    }
    switch (op) {
        case u'+':
            return FormulaValue::Of(*x + *y);
        case u'-':
            return FormulaValue::Of(*x - *y);
        case u'*':
            return FormulaValue::Of(*x * *y);
        case u'/':
            return *y == 0 ? FormulaValue::OfError("#DIV/0!") : FormulaValue::Of(*x / *y);
        default:
            if (*x == 0 && *y < 0) {
                return FormulaValue::OfError("#DIV/0!");
            }
            return FormulaValue::Of(std::pow(*x, *y));
    }
}

// Numbers sort before text, text before booleans; text compares without case; an empty
// value is the zero of the other side's kind.
FormulaValue Compare(FormulaValue a, FormulaValue b, int op) {
    if (a.IsError()) {
        return a;
    }
    if (b.IsError()) {
        return b;
    }
    const auto emptyAs = [](FormulaValue& empty, const FormulaValue& other) {
        if (empty.kind == FormulaValue::Empty) {
            empty.kind = other.kind == FormulaValue::Empty ? FormulaValue::Number : other.kind;
            empty.number = 0;
        }
    };
    emptyAs(a, b);
    emptyAs(b, a);
    const int order = FormulaValue::Order(a, b);
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
    return FormulaValue::OfBoolean(result);
}

// Recursive descent over one formula text, lowest precedence first. While `skipping_`, the
// text is parsed but nothing is read or called: the branch IF does not take.
class Parser {
public:
    Parser(QStringView text, int sheet, FormulaContext& context)
        : text_(text), sheet_(sheet), context_(context) {}

    FormulaValue Whole() {
        const Operand result = Comparison(0);
        SkipSpaces();
        if (at_ != text_.size()) {
            throw Unevaluated{};
        }
        return Scalar(result);
    }

private:
    void SkipSpaces() {
        while (at_ < text_.size() && (text_[at_] == u' ' || text_[at_] == u'\n')) {
            ++at_;
        }
    }
    bool Peek(char16_t c) {
        SkipSpaces();
        return at_ < text_.size() && text_[at_] == c;
    }
    bool Accept(QStringView token) {
        SkipSpaces();
        if (text_.sliced(at_).startsWith(token)) {
            at_ += token.size();
            return true;
        }
        return false;
    }
    void Expect(char16_t c) {
        if (!Accept(QStringView(&c, 1))) {
            throw Unevaluated{};
        }
    }
    FormulaValue Scalar(const Operand& operand) {
        if (skipping_ > 0) {
            return {};
        }
        return operand.missing ? FormulaValue{} : operand.Scalar(context_);
    }

    Operand Comparison(int nesting) {
        if (nesting > FormulaEvaluator::MaxNesting) {
            throw Unevaluated{};
        }
        Operand left = Concatenation(nesting);
        for (;;) {
            int op = 0;
            for (const char16_t* token : {u"<>", u"<=", u">=", u"=", u"<", u">"}) {
                if (Accept(QStringView(token))) {
                    op = token[0] * 256 + token[1];
                    break;
                }
            }
            if (op == 0) {
                return left;
            }
            const Operand right = Concatenation(nesting);
            left = Of(Compare(Scalar(left), Scalar(right), op));
        }
    }
    Operand Concatenation(int nesting) {
        Operand left = Additive(nesting);
        if (!Peek(u'&')) {
            return left;
        }
        FormulaValue joined = Scalar(left);
        while (Accept(u"&")) {
            const FormulaValue right = Scalar(Additive(nesting));
            if (joined.IsError()) {
                continue;
            }
            if (right.IsError()) {
                joined = right;
                continue;
            }
            if (joined.kind != FormulaValue::Text) {
                joined = {FormulaValue::Text, 0, joined.AsText()};
            }
            // Appended in place, so a chain of n parts costs linear time.
            joined.text += right.AsText();
            if (joined.text.size() > MaxTextLength) {
                joined = FormulaValue::OfError("#VALUE!");
            }
        }
        return Of(std::move(joined));
    }
    // One level of left-associative arithmetic: `ops` are its operators, `next` parses the
    // operands at the level above.
    Operand ArithmeticLevel(int nesting, QStringView ops, Operand (Parser::*next)(int)) {
        Operand left = (this->*next)(nesting);
        for (;;) {
            SkipSpaces();
            if (at_ >= text_.size() || !ops.contains(text_[at_])) {
                return left;
            }
            const char16_t op = text_[at_++].unicode();
            const Operand right = (this->*next)(nesting);
            left = Of(Arithmetic(Scalar(left), Scalar(right), op, context_.Date1904()));
        }
    }
    Operand Additive(int nesting) {
        return ArithmeticLevel(nesting, u"+-", &Parser::Multiplicative);
    }
    Operand Multiplicative(int nesting) { return ArithmeticLevel(nesting, u"*/", &Parser::Power); }
    Operand Power(int nesting) { return ArithmeticLevel(nesting, u"^", &Parser::Unary); }
    // A leading sign binds tighter than ^ in the application: -2^2 is 4.
    Operand Unary(int nesting) {
        if (nesting > FormulaEvaluator::MaxNesting) {
            throw Unevaluated{};
        }
        if (Accept(u"-")) {
            const Operand operand = Unary(nesting + 1);
            return Of(Arithmetic(FormulaValue::Of(0), Scalar(operand), u'-', context_.Date1904()));
        }
        if (Accept(u"+")) {
            return Unary(nesting + 1);
        }
        Operand operand = Primary(nesting);
        while (Accept(u"%")) {
            operand =
                Of(Arithmetic(Scalar(operand), FormulaValue::Of(100), u'/', context_.Date1904()));
        }
        return operand;
    }
    Operand Primary(int nesting) {
        SkipSpaces();
        if (at_ >= text_.size()) {
            throw Unevaluated{};
        }
        const QChar c = text_[at_];
        if (c == u'(') {
            ++at_;
            Operand inner = Comparison(nesting + 1);
            Expect(u')');
            return inner;
        }
        if (c == u'"') {
            return Of(FormulaValue::OfText(Quoted()));
        }
        if (c == u'#') {
            return Of(ErrorLiteral());
        }
        if (c == u'\'') {
            const QString sheet = Quoted();
            Expect(u'!');
            return Reference(SheetIndex(sheet));
        }
        if (c.isDigit() || c == u'.') {
            if (auto rows = RowRange(sheet_)) {
                return *rows;
            }
            return Of(Number());
        }
        return Name(nesting);
    }
    // The text between the quote at `at_` and its closing one, a doubled quote standing for
    // itself: "text" and 'sheet name'.
    QString Quoted() {
        const QChar quote = text_[at_];
        QString s;
        for (++at_; at_ < text_.size(); ++at_) {
            if (text_[at_] == quote) {
                if (at_ + 1 < text_.size() && text_[at_ + 1] == quote) {
                    s.append(quote);
                    ++at_;
                    continue;
                }
                ++at_;
                return s;
            }
            s.append(text_[at_]);
        }
        throw Unevaluated{};  // unclosed
    }
    FormulaValue ErrorLiteral() {
        for (const char16_t* code : ErrorLiterals) {
            const QStringView literal(code);
            if (text_.sliced(at_).startsWith(literal, Qt::CaseInsensitive)) {
                at_ += literal.size();
                return {FormulaValue::Error, 0, literal.toString()};
            }
        }
        throw Unevaluated{};
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
        const double n = text_.sliced(start, at_ - start).toDouble(&ok);
        if (!ok) {
            throw Unevaluated{};
        }
        return FormulaValue::Of(n);
    }
    int SheetIndex(const QString& name) {
        if (skipping_ > 0) {
            return sheet_;
        }
        const std::optional<int> index = context_.SheetNamed(name);
        if (!index) {
            throw Unevaluated{};  // another workbook's, or a sheet the file no longer has
        }
        return *index;
    }
    QStringView NameToken() {
        const qsizetype start = at_;
        while (at_ < text_.size() && IsNameChar(text_[at_])) {
            ++at_;
        }
        return text_.sliced(start, at_ - start);
    }
    // 3:5 or $3:$5, whole rows; nothing (and nothing consumed) for any other text.
    std::optional<Operand> RowRange(int sheet) {
        const qsizetype start = at_;
        int32_t top = 0;
        int32_t bottom = 0;
        if (ParseRow(NameToken(), top) && Accept(u":")) {
            SkipSpaces();
            if (ParseRow(NameToken(), bottom)) {
                return Range(sheet, {std::min(top, bottom), 1, std::max(top, bottom), MaxColumns});
            }
        }
        at_ = start;
        return std::nullopt;
    }
    Operand Range(int sheet, CellRect rect) { return {{}, RangeRef{sheet, rect}, false}; }
    // A cell, a range or whole columns or rows after an optional sheet name.
    Operand Reference(int sheet) {
        SkipSpaces();
        if (auto rows = RowRange(sheet)) {
            return *rows;
        }
        const QStringView first = NameToken();
        int32_t row = 0;
        int32_t column = 0;
        if (ParseCell(first, row, column)) {
            if (!Accept(u":")) {
                return Range(sheet, {row, column, row, column});
            }
            SkipSpaces();
            int32_t row2 = 0;
            int32_t column2 = 0;
            if (!ParseCell(NameToken(), row2, column2)) {
                throw Unevaluated{};
            }
            return Range(sheet, {std::min(row, row2), std::min(column, column2),
                                 std::max(row, row2), std::max(column, column2)});
        }
        int32_t column2 = 0;
        if (ParseColumn(first, column) && Accept(u":")) {
            SkipSpaces();
            if (ParseColumn(NameToken(), column2)) {
                return Range(sheet,
                             {1, std::min(column, column2), MaxRows, std::max(column, column2)});
            }
        }
        throw Unevaluated{};
    }
    // TRUE, FALSE, a function call, a sheet name with its reference, a cell or range, or a
    // name the file does not define.
    Operand Name(int nesting) {
        const qsizetype start = at_;
        QStringView name = NameToken();
        if (name.isEmpty()) {
            throw Unevaluated{};
        }
        if (at_ < text_.size() && text_[at_] == u'!') {
            ++at_;
            return Reference(SheetIndex(name.toString()));
        }
        if (Peek(u'(')) {
            ++at_;
            return Function(name, nesting + 1);
        }
        if (name.compare(u"TRUE", Qt::CaseInsensitive) == 0) {
            return Of(FormulaValue::OfBoolean(true));
        }
        if (name.compare(u"FALSE", Qt::CaseInsensitive) == 0) {
            return Of(FormulaValue::OfBoolean(false));
        }
        int32_t row = 0;
        int32_t column = 0;
        if (ParseCell(name, row, column) || (ParseColumn(name, column) && Peek(u':'))) {
            at_ = start;
            return Reference(sheet_);
        }
        if (skipping_ > 0) {
            return {};
        }
        if (context_.UnknownNamesAreErrors()) {
            return Of(FormulaValue::OfError("#NAME?"));
        }
        throw Unevaluated{};
    }
    Operand Function(QStringView written, int nesting) {
        if (nesting > FormulaEvaluator::MaxNesting) {
            throw Unevaluated{};
        }
        QString name = written.toString().toUpper();
        if (name.startsWith(u"_XLFN.")) {
            name.remove(0, 6);
        }
        if (name == u"IF" || name == u"IFERROR") {
            return Of(Conditional(name == u"IF", nesting));
        }
        std::vector<Operand> args;
        if (!Accept(u")")) {
            do {
                args.push_back(Argument(nesting));
            } while (Accept(u","));
            Expect(u')');
        }
        if (skipping_ > 0) {
            return {};
        }
        if (!FormulaFunctions::Knows(name)) {
            // One of the application's many other functions, or a misspelt one: which, only
            // a list of them all could tell, so the cell stays empty rather than wrong.
            throw Unevaluated{};
        }
        context_.Step();
        return Of(FormulaFunctions::Call(name, args, context_));
    }
    Operand Argument(int nesting) {
        if (Peek(u',') || Peek(u')')) {
            return {{}, std::nullopt, true};
        }
        return Comparison(nesting);
    }
    // IF(condition, then, [else]) and IFERROR(value, alternative), computing only the
    // branch taken.
    FormulaValue Conditional(bool isIf, int nesting) {
        const FormulaValue first = Scalar(Argument(nesting));
        int taken = 0;  // the branch that gives the result; 0: the first argument's error
        FormulaValue result = first;
        if (isIf && !first.IsError()) {
            const std::optional<bool> condition = first.AsBoolean();
            if (!condition) {
                result = FormulaValue::OfError("#VALUE!");
            } else {
                taken = *condition ? 1 : 2;
                result = FormulaValue::OfBoolean(false);  // when there is no else branch
            }
        } else if (!isIf && first.IsError()) {
            taken = 1;
        }
        Expect(u',');
        for (int branch = 1; branch <= (isIf ? 2 : 1); ++branch) {
            if (branch == 2 && !Accept(u",")) {
                break;
            }
            FormulaValue value = Branch(taken == branch, nesting);
            if (taken == branch) {
                result = std::move(value);
            }
        }
        Expect(u')');
        return result;
    }
    FormulaValue Branch(bool taken, int nesting) {
        if (taken) {
            const Operand operand = Argument(nesting);
            return operand.missing ? FormulaValue::Of(0) : Scalar(operand);
        }
        ++skipping_;
        Argument(nesting);
        --skipping_;
        return {};
    }

    QStringView text_;
    int sheet_;
    FormulaContext& context_;
    qsizetype at_ = 0;
    int skipping_ = 0;
};

}  // namespace

FormulaValue FormulaEvaluator::Evaluate(QStringView formula, int sheet, FormulaContext& context) {
    return Parser(formula, sheet, context).Whole();
}

}  // namespace engine
