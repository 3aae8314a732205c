#include "engine/objects/EngineServer.h"

#include "automation/AutomationRegistry.h"
#include "engine/objects/ApplicationObject.h"
#include "engine/objects/Presenter.h"

namespace engine {

EngineServer::EngineServer(Presenter* presenter) : presenter_(presenter) {}

ObjectRef EngineServer::GetActiveObject() {
    if (shown_ && !shown_->IsShownAndRunning()) {
        shown_.reset();
    }
    if (!presenter_ || !presenter_->IsOpen() || !shown_) {
        return nullptr;
    }
    return shown_;
}

ObjectRef EngineServer::CreateObject() {
    // The server keeps the application that was made visible: it stays running for a later
    // attach after its creator let go of it, as a visible application window does.
    return std::make_shared<ApplicationObject>(
        presenter_, [server = weak_from_this()](std::shared_ptr<ApplicationObject> application) {
            if (const auto self = server.lock()) {
                self->shown_ = std::move(application);
            }
        });
}

void RegisterEngine(AutomationRegistry& servers, Presenter* presenter) {
    servers.Register(QStringLiteral("Excel.Application"),
                     std::make_shared<EngineServer>(presenter));
}

}  // namespace engine
