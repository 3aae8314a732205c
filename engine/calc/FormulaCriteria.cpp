#include "engine/calc/FormulaCriteria.h"

#include <array>
#include <utility>

namespace engine {
namespace {

bool HasWildcard(QStringView text) {
    return text.contains(u'*') || text.contains(u'?') || text.contains(u'~');
}

}  // namespace

FormulaCriteria::FormulaCriteria(const FormulaValue& criterion, bool date1904) {
    if (criterion.kind != FormulaValue::Text) {
        operand_ = criterion.kind == FormulaValue::Empty ? FormulaValue::Of(0) : criterion;
        return;
    }
    static constexpr std::array<std::pair<const char16_t*, Op>, 6> Operators = {{
        {u"<>", Op::NotEqual},
        {u"<=", Op::LessEqual},
        {u">=", Op::GreaterEqual},
        {u"=", Op::Equal},
        {u"<", Op::Less},
        {u">", Op::Greater},
    }};
    QStringView rest = criterion.text;
    for (const auto& [token, op] : Operators) {
        if (rest.startsWith(QStringView(token))) {
            op_ = op;
            rest = rest.sliced(QStringView(token).size());
            break;
        }
    }
    const FormulaValue text = FormulaValue::OfText(rest.toString());
    if (const auto number = text.AsNumber(date1904); number && !rest.trimmed().isEmpty()) {
        operand_ = FormulaValue::Of(*number);
    } else if (const auto truth = text.AsBoolean()) {
        operand_ = FormulaValue::OfBoolean(*truth);
    } else {
        operand_ = text;
    }
}

bool FormulaCriteria::Matches(const FormulaValue& value) const {
    if (op_ == Op::Equal || op_ == Op::NotEqual) {
        bool equal = false;
        if (operand_.kind == FormulaValue::Text) {
            equal = (value.kind == FormulaValue::Text || value.kind == FormulaValue::Empty) &&
                    WildcardMatch(operand_.text, value.text);
        } else if (operand_.kind == FormulaValue::Number && value.kind == FormulaValue::Text) {
            // "1" as a criterion counts the text 1 as well as the number.
            const auto number = value.AsNumber(false);
            equal = number && *number == operand_.number;
        } else {
            equal = value.kind == operand_.kind && value.number == operand_.number &&
                    value.text == operand_.text;
        }
        return equal == (op_ == Op::Equal);
    }
    const bool comparable = operand_.kind == FormulaValue::Text ? value.kind == FormulaValue::Text
                                                                : value.kind == operand_.kind;
    if (!comparable) {
        return false;
    }
    const int order = FormulaValue::Order(value, operand_);
    switch (op_) {
        case Op::Less:
            return order < 0;
        case Op::LessEqual:
            return order <= 0;
        case Op::Greater:
            return order > 0;
        default:
            return order >= 0;
    }
}

bool FormulaCriteria::WildcardMatch(QStringView pattern, QStringView text) {
    if (!HasWildcard(pattern)) {
        return pattern.compare(text, Qt::CaseInsensitive) == 0;
    }
    // Greedy matching with one backtrack point: the last `*` seen.
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype starP = -1;
    qsizetype starT = 0;
    const auto same = [](QChar a, QChar b) { return a.toCaseFolded() == b.toCaseFolded(); };
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = ++p;
            starT = t;
            continue;
        }
        if (p < pattern.size()) {
            const bool escaped = pattern[p] == u'~' && p + 1 < pattern.size();
            const QChar wanted = escaped ? pattern[p + 1] : pattern[p];
            if ((!escaped && wanted == u'?') || same(wanted, text[t])) {
                p += escaped ? 2 : 1;
                ++t;
                continue;
            }
        }
        if (starP < 0) {
            return false;
        }
        p = starP;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

bool FormulaCriteria::LookupEquals(const FormulaValue& wanted, const FormulaValue& value) {
    if (wanted.kind == FormulaValue::Text) {
        return value.kind == FormulaValue::Text && WildcardMatch(wanted.text, value.text);
    }
    return value.kind == wanted.kind && FormulaValue::Order(wanted, value) == 0;
}

}  // namespace engine
