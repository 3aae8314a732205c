#include "engine/EngineServer.h"

#include "engine/ApplicationObject.h"
#include "engine/Presenter.h"

namespace engine {

ObjectRef EngineServer::GetActiveObject() {
    const Presenter* presenter = CurrentPresenter();
    if (shown_ && !shown_->IsShownAndRunning()) {
        shown_.reset();
    }
    if (!presenter || !presenter->IsOpen() || !shown_) {
        return nullptr;
    }
    return shown_;
}

ObjectRef EngineServer::CreateObject() {
    // The server keeps the application that was made visible: it stays running for a later
    // attach after its creator let go of it, as a visible application window does.
    return std::make_shared<ApplicationObject>(
        [server = weak_from_this()](std::shared_ptr<ApplicationObject> application) {
            if (const auto self = server.lock()) {
                self->shown_ = std::move(application);
            }
        });
}

void RegisterEngine() {
    AutomationRegistry::Register(QStringLiteral("Excel.Application"),
                                 std::make_shared<EngineServer>());
}

}  // namespace engine
