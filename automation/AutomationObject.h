// The abstract late-bound automation interface: objects answer calls by member name, and a
// server per ProgID hands out application objects. Wrappers are written against this alone.
#pragma once

#include "automation/Variant.h"

#include <QString>
#include <memory>
#include <vector>

enum class InvokeKind {
    Method = 1,       // DISPATCH_METHOD
    PropertyGet = 2,  // DISPATCH_PROPERTYGET
    PropertyPut = 4,  // DISPATCH_PROPERTYPUT: the value is the one argument
};

class AutomationObject {
public:
    virtual ~AutomationObject() = default;
    // Calls the member named `member` (matched without regard to letter case) with the
    // arguments in parameter order. Failures raise AutomationError.
    virtual Variant Invoke(const QString& member, InvokeKind kind,
                           const std::vector<Variant>& args) = 0;
};

class AutomationServer {
public:
    virtual ~AutomationServer() = default;
    // The running application instance, or null when none runs.
    virtual ObjectRef GetActiveObject() = 0;
    // A new application instance; raises AutomationError when it cannot be created.
    virtual ObjectRef CreateObject() = 0;
};
