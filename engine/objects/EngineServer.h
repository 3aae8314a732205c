// The embedded engine as the automation server for "Excel.Application": it hands out
// application objects that answer the members the automation wrappers call.
#pragma once

#include "automation/AutomationObject.h"

#include <memory>

namespace engine {

class ApplicationObject;

class EngineServer : public AutomationServer, public std::enable_shared_from_this<EngineServer> {
public:
    // The application that was made visible and not quit, while a presenter is registered
    // and open; null otherwise.
    ObjectRef GetActiveObject() override;
    // A new, hidden application.
    ObjectRef CreateObject() override;

private:
    std::shared_ptr<ApplicationObject> shown_;
};

// Registers the engine for "Excel.Application". Called once at start-up (and by tests).
void RegisterEngine();

}  // namespace engine
