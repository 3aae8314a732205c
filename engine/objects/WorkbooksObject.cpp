#include "engine/objects/WorkbooksObject.h"

#include "engine/objects/EngineSession.h"
#include "engine/objects/MemberCall.h"
#include "engine/objects/OpenBook.h"
#include "engine/objects/Presenter.h"
#include "engine/objects/WorkbookObject.h"

namespace engine {

Variant WorkbooksObject::Invoke(const QString& member, InvokeKind kind,
                                const std::vector<Variant>& args) {
    const MemberCall call(member, kind, args);
    session_->CheckRunning();
    if (call.Is("Open")) {
        // Read-only, password and the other options of Open do not change a search.
        const auto book = session_->Open(call.Required(0).ToString());
        if (Presenter* presenter = session_->VisiblePresenter()) {
            presenter->ShowWorkbook(book->Shared());
        }
        return Variant(ObjectRef(std::make_shared<WorkbookObject>(book)));
    }
    if (call.Is("ReadAhead")) {
        call.AllowAtMost(1);
        session_->ReadAhead(call.Required(0).ToString());
        return {};
    }
    if (call.Is("Count")) {
        call.AllowAtMost(0);
        return Variant(int32_t{session_->OpenCount()});
    }
    call.Unsupported();
}

}  // namespace engine
