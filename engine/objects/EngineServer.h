// The embedded engine as the automation server for "Excel.Application": it hands out
// application objects that answer the members the automation wrappers call.
#pragma once

#include "automation/AutomationObject.h"

#include <memory>

class AutomationRegistry;

namespace engine {

class ApplicationObject;
class Presenter;

class EngineServer : public AutomationServer, public std::enable_shared_from_this<EngineServer> {
public:
    // The presenter (may be null; the caller keeps it alive while the server lives) shows the
    // applications that are made visible.
    explicit EngineServer(Presenter* presenter);

    // The application that was made visible and not quit, while the presenter is open; null
    // otherwise.
    ObjectRef GetActiveObject() override;
    // A new, hidden application.
    ObjectRef CreateObject() override;

private:
    Presenter* presenter_;
    std::shared_ptr<ApplicationObject> shown_;
};

// Registers a new engine server for "Excel.Application".
void RegisterEngine(AutomationRegistry& servers, Presenter* presenter = nullptr);

}  // namespace engine
