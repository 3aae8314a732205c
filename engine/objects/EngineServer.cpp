#include "engine/objects/EngineServer.h"

#include "engine/objects/ApplicationObject.h"
#include "engine/objects/Presenter.h"

#include <malloc.h>

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
    // A search reads each workbook into sheet-sized buffers and frees them before the next:
    // keeping freed memory in the process spares the system unmapping it and handing it
    // back zeroed page by page for every workbook.
    mallopt(M_MMAP_THRESHOLD, 128 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    AutomationRegistry::Register(QStringLiteral("Excel.Application"),
                                 std::make_shared<EngineServer>());
}

}  // namespace engine
