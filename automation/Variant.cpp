#include "automation/Variant.h"

#include "automation/AutomationError.h"

#include <cmath>
#include <limits>

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;  // not every compiler deduces it for aggregates yet

[[noreturn]] void TypeMismatch() {
    throw AutomationError(QStringLiteral("型が一致しません。"));
}

// Text to a number as the automation value functions accept it: optional blanks, a decimal
// number, nothing else.
double ParseNumber(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        TypeMismatch();
    }
    return value;
}

}  // namespace

Variant Variant::Null() {
    Variant v;
    v.value_ = NullTag{};
    return v;
}

Variant Variant::Error(uint32_t code) {
    Variant v;
    v.value_ = ErrorTag{code};
    return v;
}

VariantType Variant::Type() const {
    static constexpr VariantType types[] = {
        VariantType::Empty,  VariantType::Null,     VariantType::Int32, VariantType::Bool,
        VariantType::String, VariantType::Dispatch, VariantType::Error};
    return types[value_.index()];
}

bool Variant::IsEmpty() const {
    if (std::holds_alternative<std::monostate>(value_)) {
        return true;
    }
    const auto* object = std::get_if<ObjectRef>(&value_);
    return object && !*object;
}

int32_t Variant::ToInt() const {
    return std::visit(Overloaded{
                          [](std::monostate) -> int32_t { return 0; },
                          [](int32_t v) { return v; },
                          [](bool v) -> int32_t { return v ? -1 : 0; },  // VT_BOOL true is -1
                          [](const QString& v) -> int32_t {
                              // Rounded half to even, as the value functions convert a fraction.
                              const double rounded = std::nearbyint(ParseNumber(v));
                              if (rounded < std::numeric_limits<int32_t>::min() ||
                                  rounded > std::numeric_limits<int32_t>::max()) {
                                  throw AutomationError(QStringLiteral("オーバーフローしました。"));
                              }
                              return static_cast<int32_t>(rounded);
                          },
                          [](const auto&) -> int32_t { TypeMismatch(); },
                      },
                      value_);
}

bool Variant::ToBool() const {
    return std::visit(Overloaded{
                          [](std::monostate) { return false; },
                          [](int32_t v) { return v != 0; },
                          [](bool v) { return v; },
                          [](const QString& v) {
                              const QString t = v.trimmed();
                              if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
                                  return true;
                              }
                              if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
                                  return false;
                              }
                              return ParseNumber(t) != 0;
                          },
                          [](const auto&) -> bool { TypeMismatch(); },
                      },
                      value_);
}

QString Variant::ToString() const {
    return std::visit(
        Overloaded{
            [](std::monostate) { return QString(); },
            [](int32_t v) { return QString::number(v); },
            [](bool v) { return v ? QStringLiteral("True") : QStringLiteral("False"); },
            [](const QString& v) { return v; },
            [](const auto&) -> QString { TypeMismatch(); },
        },
        value_);
}

ObjectRef Variant::ToObject() const {
    const auto* object = std::get_if<ObjectRef>(&value_);
    if (!object) {
        TypeMismatch();
    }
    return *object;
}

uint32_t Variant::ErrorCode() const {
    const auto* error = std::get_if<ErrorTag>(&value_);
    return error ? error->code : 0;
}
