// One late-bound call as an engine object receives it: the member name (matched without
// regard to letter case, as a dispatch interface resolves names), the kind and the
// positional arguments, with the checks every member shares.
#pragma once

#include "automation/AutomationObject.h"

#include <QString>
#include <vector>

namespace engine {

class MemberCall {
public:
    MemberCall(const QString& member, InvokeKind kind, const std::vector<Variant>& args)
        : member_(member), kind_(kind), args_(args) {}

    // A method or property read of `name` (a dispatch interface accepts either flag).
    bool Is(const char* name) const;
    // A property write of `name`.
    bool IsPut(const char* name) const;

    size_t ArgCount() const { return args_.size(); }
    // True when argument `index` was passed and is not the missing-parameter value.
    bool Has(size_t index) const;
    // Argument `index`; raises the argument error when it was omitted.
    const Variant& Required(size_t index) const;
    // Raises the argument error when more than `count` arguments were passed.
    void AllowAtMost(size_t count) const;

    [[noreturn]] void Unsupported() const;
    [[noreturn]] static void BadArgument();

private:
    const QString& member_;
    InvokeKind kind_;
    const std::vector<Variant>& args_;
};

}  // namespace engine
