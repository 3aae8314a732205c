// The automation value that crosses the late-bound interface: the kinds an automation call
// passes and returns. Object references are reference counted; copying a Variant shares them.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <variant>

class AutomationObject;
using ObjectRef = std::shared_ptr<AutomationObject>;

// Code of the "parameter not found" error value that stands for an omitted argument.
inline constexpr uint32_t DispEParamNotFound = 0x80020004u;

enum class VariantType {
    Empty,     // VT_EMPTY
    Null,      // VT_NULL
    Int32,     // VT_I4
    Bool,      // VT_BOOL
    String,    // BSTR
    Dispatch,  // VT_DISPATCH, the reference may be null
    Error,     // VT_ERROR
};

class Variant {
public:
    Variant() = default;
    Variant(int32_t value) : value_(value) {}
    Variant(bool value) : value_(value) {}
    Variant(QString value) : value_(std::move(value)) {}
    Variant(const char*) = delete;  // be explicit about text: pass a QString
    Variant(ObjectRef object) : value_(std::move(object)) {}

    static Variant Null();
    static Variant Error(uint32_t code);
    // The value passed for an omitted optional argument.
    static Variant Missing() { return Error(DispEParamNotFound); }

    VariantType Type() const;
    bool IsDispatch() const { return Type() == VariantType::Dispatch; }
    // VT_EMPTY, or an object reference that is null. VT_NULL is not empty.
    bool IsEmpty() const;

    // Conversions as the automation value functions make them; throw AutomationError
    // when the value cannot be converted.
    int32_t ToInt() const;
    bool ToBool() const;
    QString ToString() const;
    ObjectRef ToObject() const;  // the reference of a Dispatch value (possibly null)
    uint32_t ErrorCode() const;  // the code of an Error value, 0 otherwise

private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    struct ErrorTag {
        uint32_t code;
    };
    std::variant<std::monostate, NullTag, int32_t, bool, QString, ObjectRef, ErrorTag> value_;
};
