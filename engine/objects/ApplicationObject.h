// The engine's application object: Workbooks, Visible, Quit, and its own FindHiddenCells. Each one
// is an independent instance with its own open workbooks.
#pragma once

#include "automation/AutomationObject.h"

#include <functional>
#include <memory>

namespace engine {

class EngineSession;
class Presenter;

class ApplicationObject : public AutomationObject,
                          public std::enable_shared_from_this<ApplicationObject> {
public:
    // `shown` is told when the application is made visible.
    using ShownHandler = std::function<void(std::shared_ptr<ApplicationObject>)>;
    ApplicationObject(Presenter* presenter, ShownHandler shown);

    Variant Invoke(const QString& member, InvokeKind kind,
                   const std::vector<Variant>& args) override;

    // Visible and not quit: what an attach to the running instance finds.
    bool IsShownAndRunning() const;

private:
    std::shared_ptr<EngineSession> session_;
    ShownHandler shown_;
};

}  // namespace engine
