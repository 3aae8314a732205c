#include "engine/calc/FormulaFunctions.h"

#include "engine/calc/FormulaCriteria.h"
#include "engine/format/DateSerial.h"
#include "engine/format/NumberFormatter.h"
#include "engine/model/Cell.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace engine {
namespace {

using Args = std::vector<FormulaOperand>;

// Thrown inside a function to give an error value as its result.
struct ErrorResult {
    const char* code;
};

constexpr double MaxSerial = 2958465;  // 9999-12-31

class Arguments {
public:
    Arguments(const Args& args, FormulaContext& context) : args_(args), context_(context) {}

    size_t Count() const { return args_.size(); }
    bool Given(size_t i) const { return i < args_.size() && !args_[i].missing; }
    const std::optional<RangeRef>& Range(size_t i) const { return args_.at(i).range; }

    // The scalar value of argument i, an error as it is.
    FormulaValue Raw(size_t i) const {
        return args_.at(i).missing ? FormulaValue{} : args_[i].Scalar(context_);
    }
    // The scalar value of argument i; an error value ends the function with it.
    FormulaValue Value(size_t i) const {
        FormulaValue v = Raw(i);
        if (v.IsError()) {
            throw v;
        }
        return v;
    }
    double Number(size_t i) const {
        const auto n = Value(i).AsNumber(context_.Date1904());
        if (!n) {
            throw ErrorResult{"#VALUE!"};
        }
        return *n;
    }
    double Number(size_t i, double fallback) const { return Given(i) ? Number(i) : fallback; }
    double Integer(size_t i, double fallback) const { return std::trunc(Number(i, fallback)); }
    QString Text(size_t i) const { return Value(i).AsText(); }
    bool Boolean(size_t i, bool fallback) const {
        if (!Given(i)) {
            return fallback;
        }
        const auto b = Value(i).AsBoolean();
        if (!b) {
            throw ErrorResult{"#VALUE!"};
        }
        return *b;
    }
    // A range argument; anything else cannot be walked here.
    const RangeRef& RangeArg(size_t i) const {
        if (!Range(i)) {
            throw ErrorResult{"#VALUE!"};
        }
        return *Range(i);
    }

    // Each value the numeric aggregates take: numbers of ranges (their text and booleans
    // are skipped), and direct arguments that read as numbers. Errors end the function.
    template <typename Visit>
    void Numbers(Visit visit) const {
        for (size_t i = 0; i < args_.size(); ++i) {
            if (Range(i)) {
                Walk(*Range(i), [&](const FormulaValue& v) {
                    if (v.IsError()) {
                        throw v;
                    }
                    if (v.kind == FormulaValue::Number) {
                        visit(v.number);
                    }
                });
            } else {
                visit(Number(i));
            }
        }
    }
    template <typename Visit>
    void Walk(const RangeRef& range, Visit visit) const {
        context_.ForEach(range, [&](int32_t, int32_t, const FormulaValue& v) {
            context_.Step();
            visit(v);
            return true;
        });
    }
    FormulaContext& Context() const { return context_; }

private:
    const Args& args_;
    FormulaContext& context_;
};

// 15 significant digits first, so 2.675 rounds as the 2.675 it shows.
double Significant(double x) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", x);
    return std::strtod(buffer, nullptr);
}

enum class Rounding { Nearest, Up, Down };

FormulaValue Round(const Arguments& call, Rounding mode) {
    const double x = call.Number(0);
    const double digits = std::clamp(call.Integer(1, 0), -400.0, 400.0);
    const double scale = std::pow(10.0, std::abs(digits));
    const double scaled = Significant(digits >= 0 ? x * scale : x / scale);
    double whole = 0;
    switch (mode) {
        case Rounding::Nearest:
            whole = std::round(scaled);
            break;
        case Rounding::Up:
            whole = scaled < 0 ? -std::ceil(-scaled) : std::ceil(scaled);
            break;
        case Rounding::Down:
            whole = std::trunc(scaled);
            break;
    }
    return FormulaValue::Of(digits >= 0 ? whole / scale : whole * scale);
}

FormulaValue Aggregate(const Arguments& call, QStringView name) {
    double sum = 0;
    double count = 0;
    double least = INFINITY;
    double most = -INFINITY;
    call.Numbers([&](double n) {
        sum += n;
        ++count;
        least = std::min(least, n);
        most = std::max(most, n);
    });
    if (name == u"SUM") {
        return FormulaValue::Of(sum);
    }
    if (name == u"AVERAGE") {
        return count == 0 ? FormulaValue::OfError("#DIV/0!") : FormulaValue::Of(sum / count);
    }
    if (count == 0) {
        return FormulaValue::Of(0);
    }
    return FormulaValue::Of(name == u"MIN" ? least : most);
}

// COUNT: numbers, and direct arguments that read as numbers; COUNTA: every value.
FormulaValue Count(const Arguments& call, bool any) {
    double count = 0;
    for (size_t i = 0; i < call.Count(); ++i) {
        if (call.Range(i)) {
            call.Walk(*call.Range(i), [&](const FormulaValue& v) {
                count += any || v.kind == FormulaValue::Number ? 1 : 0;
            });
        } else if (any) {
            count += 1;
        } else {
            const FormulaValue v = call.Raw(i);
            count += !v.IsError() && v.AsNumber(call.Context().Date1904()) ? 1 : 0;
        }
    }
    return FormulaValue::Of(count);
}

// AND and OR: numbers and booleans count, text in ranges is skipped; none at all is #VALUE!.
FormulaValue Logical(const Arguments& call, bool isAnd) {
    bool result = isAnd;
    bool any = false;
    const auto take = [&](bool b) {
        result = isAnd ? result && b : result || b;
        any = true;
    };
    for (size_t i = 0; i < call.Count(); ++i) {
        if (call.Range(i)) {
            call.Walk(*call.Range(i), [&](const FormulaValue& v) {
                if (v.IsError()) {
                    throw v;
                }
                if (v.kind == FormulaValue::Number || v.kind == FormulaValue::Boolean) {
                    take(v.number != 0);
                }
            });
        } else {
            take(call.Boolean(i, false));
        }
    }
    if (!any) {
        throw ErrorResult{"#VALUE!"};
    }
    return FormulaValue::OfBoolean(result);
}

FormulaValue Concatenate(const Arguments& call, bool ranges) {
    QString joined;
    const auto append = [&](const FormulaValue& v) {
        if (v.IsError()) {
            throw v;
        }
        joined += v.AsText();
        if (joined.size() > MaxTextLength) {
            throw ErrorResult{"#VALUE!"};
        }
    };
    for (size_t i = 0; i < call.Count(); ++i) {
        if (ranges && call.Range(i)) {
            call.Walk(*call.Range(i), append);
        } else {
            append(call.Raw(i));
        }
    }
    return FormulaValue::OfText(std::move(joined));
}

FormulaValue Substring(const Arguments& call, QStringView name) {
    const QString text = call.Text(0);
    if (name == u"MID") {
        const double start = call.Integer(1, 0);
        const double length = call.Integer(2, 0);
        if (start < 1 || length < 0) {
            throw ErrorResult{"#VALUE!"};
        }
        if (start > text.size()) {
            return FormulaValue::OfText({});
        }
        return FormulaValue::OfText(
            text.mid(qsizetype(start) - 1, qsizetype(std::min(length, 1e9))));
    }
    const double length = call.Integer(1, 1);
    if (length < 0) {
        throw ErrorResult{"#VALUE!"};
    }
    const auto n = qsizetype(std::min<double>(length, double(text.size())));
    return FormulaValue::OfText(name == u"LEFT" ? text.left(n) : text.right(n));
}

// Inner runs of spaces become one, outer ones go: only the space character itself.
QString Trimmed(const QString& text) {
    QString out;
    out.reserve(text.size());
    bool pendingSpace = false;
    for (QChar c : text) {
        if (c == u' ') {
            pendingSpace = !out.isEmpty();
            continue;
        }
        if (pendingSpace) {
            out.append(u' ');
            pendingSpace = false;
        }
        out.append(c);
    }
    return out;
}

FormulaValue Text(const Arguments& call) {
    const FormulaValue value = call.Value(0);
    const QString code = call.Text(1);
    const bool date1904 = call.Context().Date1904();
    const auto number = value.AsNumber(date1904);
    if (value.kind == FormulaValue::Boolean || !number) {
        return FormulaValue::OfText(NumberFormatter::FormatText(value.AsText(), code));
    }
    return FormulaValue::OfText(NumberFormatter::Format(*number, code, date1904));
}

FormulaValue Value(const Arguments& call) {
    const FormulaValue value = call.Value(0);
    if (value.kind == FormulaValue::Boolean) {
        throw ErrorResult{"#VALUE!"};
    }
    return FormulaValue::Of(call.Number(0));
}

FormulaValue Date(const Arguments& call) {
    double year = call.Integer(0, 0);
    if (year >= 0 && year < 1900) {
        year += 1900;
    }
    if (year < 0 || year >= 10000) {
        throw ErrorResult{"#NUM!"};
    }
    const double month = std::clamp(call.Integer(1, 0), -1e6, 1e6);
    const double day = std::clamp(call.Integer(2, 0), -1e8, 1e8);
    const bool date1904 = call.Context().Date1904();
    const double serial =
        double(DateSerial::FromDate(int64_t(year), int64_t(month), int64_t(day), date1904));
    if (serial < 0 || serial > MaxSerial) {
        throw ErrorResult{"#NUM!"};
    }
    return FormulaValue::Of(serial);
}

FormulaValue DatePart(const Arguments& call, QStringView name) {
    const double serial = std::floor(call.Number(0));
    if (serial < 0 || serial > MaxSerial) {
        throw ErrorResult{"#NUM!"};
    }
    const CivilDate date = DateSerial::ToDate(int64_t(serial), call.Context().Date1904());
    return FormulaValue::Of(name == u"YEAR" ? date.year : name == u"MONTH" ? date.month : date.day);
}

// The position (0-based) of `wanted` along a row or column of cells, walked in order. Exact:
// the first equal value. Ascending (1): the last value not above it before a larger one;
// descending (-1): the last value not below it before a smaller one. Values of another
// kind are passed over, as in the application's search of sorted data.
std::optional<int32_t> Position(const Arguments& call, const RangeRef& line, bool byRow,
                                const FormulaValue& wanted, int type) {
    std::optional<int32_t> found;
    const int32_t origin = byRow ? line.rect.top : line.rect.left;
    call.Context().ForEach(line, [&](int32_t row, int32_t column, const FormulaValue& v) {
        call.Context().Step();
        const int32_t at = (byRow ? row : column) - origin;
        if (type == 0) {
            if (FormulaCriteria::LookupEquals(wanted, v)) {
                found = at;
                return false;
            }
            return true;
        }
        const bool sameKind =
            (v.kind == FormulaValue::Text) == (wanted.kind == FormulaValue::Text) && !v.IsError();
        if (!sameKind) {
            return true;
        }
        const int order = FormulaValue::Order(v, wanted);
        if (type > 0 ? order > 0 : order < 0) {
            return false;
        }
        found = at;
        return true;
    });
    return found;
}

RangeRef Line(const RangeRef& range, bool column) {
    RangeRef line = range;
    if (column) {
        line.rect.right = line.rect.left;
    } else {
        line.rect.bottom = line.rect.top;
    }
    return line;
}

// VLOOKUP and HLOOKUP.
FormulaValue Lookup(const Arguments& call, bool vertical) {
    const FormulaValue wanted = call.Value(0);
    const RangeRef& table = call.RangeArg(1);
    const double index = call.Integer(2, 0);
    const bool approximate = call.Boolean(3, true);
    const int32_t span =
        vertical ? table.rect.right - table.rect.left + 1 : table.rect.bottom - table.rect.top + 1;
    if (index < 1) {
        throw ErrorResult{"#VALUE!"};
    }
    if (index > span) {
        throw ErrorResult{"#REF!"};
    }
    const auto at = Position(call, Line(table, vertical), vertical, wanted, approximate ? 1 : 0);
    if (!at) {
        throw ErrorResult{"#N/A"};
    }
    const int32_t offset = int32_t(index) - 1;
    return vertical
               ? call.Context().Value(table.sheet, table.rect.top + *at, table.rect.left + offset)
               : call.Context().Value(table.sheet, table.rect.top + offset, table.rect.left + *at);
}

FormulaValue Match(const Arguments& call) {
    const FormulaValue wanted = call.Value(0);
    const RangeRef& range = call.RangeArg(1);
    const double type = call.Integer(2, 1);
    const bool column = range.rect.left == range.rect.right;
    if (!column && range.rect.top != range.rect.bottom) {
        throw ErrorResult{"#N/A"};
    }
    const auto at = Position(call, range, column, wanted, type > 0 ? 1 : type < 0 ? -1 : 0);
    if (!at) {
        throw ErrorResult{"#N/A"};
    }
    return FormulaValue::Of(*at + 1);
}

FormulaValue Index(const Arguments& call) {
    const RangeRef& range = call.RangeArg(0);
    double row = call.Integer(1, 0);
    double column = call.Integer(2, 0);
    const int32_t height = range.rect.bottom - range.rect.top + 1;
    const int32_t width = range.rect.right - range.rect.left + 1;
    if (!call.Given(2) && height == 1 && width > 1) {
        std::swap(row, column);  // one index into a single row picks its column
    }
    if (row < 0 || column < 0) {
        throw ErrorResult{"#VALUE!"};
    }
    row = row == 0 && height == 1 ? 1 : row;
    column = column == 0 && width == 1 ? 1 : column;
    if (row == 0 || column == 0) {
        throw Unevaluated{};  // a whole row or column: an array
    }
    if (row > height || column > width) {
        throw ErrorResult{"#REF!"};
    }
    return call.Context().Value(range.sheet, range.rect.top + int32_t(row) - 1,
                                range.rect.left + int32_t(column) - 1);
}

// SUMIF and COUNTIF: the cells of the range that meet the criterion; SUMIF adds the numbers
// at the same places of its sum range (the range itself when none is given).
FormulaValue Conditional(const Arguments& call, bool sum) {
    const RangeRef& range = call.RangeArg(0);
    const FormulaCriteria criteria(call.Value(1), call.Context().Date1904());
    const RangeRef& target = sum && call.Given(2) ? call.RangeArg(2) : range;
    double total = 0;
    call.Context().ForEach(range, [&](int32_t row, int32_t column, const FormulaValue& v) {
        call.Context().Step();
        if (!criteria.Matches(v)) {
            return true;
        }
        if (!sum) {
            total += 1;
            return true;
        }
        const FormulaValue addend =
            call.Context().Value(target.sheet, target.rect.top + row - range.rect.top,
                                 target.rect.left + column - range.rect.left);
        if (addend.IsError()) {
            throw addend;
        }
        total += addend.kind == FormulaValue::Number ? addend.number : 0;
        return true;
    });
    return FormulaValue::Of(total);
}

struct Function {
    const char16_t* name;
    size_t minArgs;
    size_t maxArgs;
    FormulaValue (*compute)(const Arguments&, QStringView name);
};

constexpr size_t Many = 255;

constexpr Function Functions[] = {
    {u"ABS", 1, 1,
     [](const Arguments& c, QStringView) { return FormulaValue::Of(std::abs(c.Number(0))); }},
    {u"AND", 1, Many, [](const Arguments& c, QStringView) { return Logical(c, true); }},
    {u"AVERAGE", 1, Many, Aggregate},
    {u"CONCAT", 1, Many, [](const Arguments& c, QStringView) { return Concatenate(c, true); }},
    {u"CONCATENATE", 1, Many,
     [](const Arguments& c, QStringView) { return Concatenate(c, false); }},
    {u"COUNT", 1, Many, [](const Arguments& c, QStringView) { return Count(c, false); }},
    {u"COUNTA", 1, Many, [](const Arguments& c, QStringView) { return Count(c, true); }},
    {u"COUNTIF", 2, 2, [](const Arguments& c, QStringView) { return Conditional(c, false); }},
    {u"DATE", 3, 3, [](const Arguments& c, QStringView) { return Date(c); }},
    {u"DAY", 1, 1, DatePart},
    {u"HLOOKUP", 3, 4, [](const Arguments& c, QStringView) { return Lookup(c, false); }},
    {u"INDEX", 2, 3, [](const Arguments& c, QStringView) { return Index(c); }},
    {u"INT", 1, 1,
     [](const Arguments& c, QStringView) { return FormulaValue::Of(std::floor(c.Number(0))); }},
    {u"LEFT", 1, 2, Substring},
    {u"LEN", 1, 1,
     [](const Arguments& c, QStringView) { return FormulaValue::Of(double(c.Text(0).size())); }},
    {u"LOWER", 1, 1,
     [](const Arguments& c, QStringView) { return FormulaValue::OfText(c.Text(0).toLower()); }},
    {u"MATCH", 2, 3, [](const Arguments& c, QStringView) { return Match(c); }},
    {u"MAX", 1, Many, Aggregate},
    {u"MID", 3, 3, Substring},
    {u"MIN", 1, Many, Aggregate},
    {u"MOD", 2, 2,
     [](const Arguments& c, QStringView) {
         const double n = c.Number(0);
         const double d = c.Number(1);
         if (d == 0) {
             throw ErrorResult{"#DIV/0!"};
         }
         return FormulaValue::Of(n - d * std::floor(n / d));
     }},
    {u"MONTH", 1, 1, DatePart},
    {u"NOT", 1, 1,
     [](const Arguments& c, QStringView) { return FormulaValue::OfBoolean(!c.Boolean(0, false)); }},
    {u"NOW", 0, 0,
     [](const Arguments& c, QStringView) { return FormulaValue::Of(c.Context().Now()); }},
    {u"OR", 1, Many, [](const Arguments& c, QStringView) { return Logical(c, false); }},
    {u"RIGHT", 1, 2, Substring},
    {u"ROUND", 2, 2, [](const Arguments& c, QStringView) { return Round(c, Rounding::Nearest); }},
    {u"ROUNDDOWN", 2, 2, [](const Arguments& c, QStringView) { return Round(c, Rounding::Down); }},
    {u"ROUNDUP", 2, 2, [](const Arguments& c, QStringView) { return Round(c, Rounding::Up); }},
    {u"SUM", 1, Many, Aggregate},
    {u"SUMIF", 2, 3, [](const Arguments& c, QStringView) { return Conditional(c, true); }},
    {u"TEXT", 2, 2, [](const Arguments& c, QStringView) { return Text(c); }},
    {u"TODAY", 0, 0,
     [](const Arguments& c, QStringView) {
         return FormulaValue::Of(std::floor(c.Context().Now()));
     }},
    {u"TRIM", 1, 1,
     [](const Arguments& c, QStringView) { return FormulaValue::OfText(Trimmed(c.Text(0))); }},
    {u"UPPER", 1, 1,
     [](const Arguments& c, QStringView) { return FormulaValue::OfText(c.Text(0).toUpper()); }},
    {u"VALUE", 1, 1, [](const Arguments& c, QStringView) { return Value(c); }},
    {u"VLOOKUP", 3, 4, [](const Arguments& c, QStringView) { return Lookup(c, true); }},
    {u"YEAR", 1, 1, DatePart},
};

const Function* Find(QStringView name) {
    for (const Function& function : Functions) {
        if (name == QStringView(function.name)) {
            return &function;
        }
    }
    return nullptr;
}

}  // namespace

bool FormulaFunctions::Knows(QStringView name) {
    return Find(name) != nullptr;
}

FormulaValue FormulaFunctions::Call(QStringView name, const std::vector<FormulaOperand>& args,
                                    FormulaContext& context) {
    const Function* function = Find(name);
    if (!function || args.size() < function->minArgs || args.size() > function->maxArgs) {
        throw Unevaluated{};
    }
    try {
        return function->compute(Arguments(args, context), name);
    } catch (const FormulaValue& error) {
        return error;
    } catch (const ErrorResult& error) {
        return FormulaValue::OfError(error.code);
    }
}

}  // namespace engine
