#include "engine/objects/ApplicationObject.h"

#include "engine/find/BookTexts.h"
#include "engine/find/FindPattern.h"
#include "engine/objects/EngineSession.h"
#include "engine/objects/MemberCall.h"
#include "engine/objects/Presenter.h"
#include "engine/objects/WorkbooksObject.h"

namespace engine {

ApplicationObject::ApplicationObject(Presenter* presenter, ShownHandler shown)
    : session_(std::make_shared<EngineSession>(presenter)), shown_(std::move(shown)) {}

Variant ApplicationObject::Invoke(const QString& member, InvokeKind kind,
                                  const std::vector<Variant>& args) {
    const MemberCall call(member, kind, args);
    session_->CheckRunning();
    if (call.Is("Workbooks")) {
        call.AllowAtMost(0);
        return Variant(ObjectRef(std::make_shared<WorkbooksObject>(session_)));
    }
    if (call.IsPut("Visible")) {
        const bool visible = call.Required(0).ToBool();
        session_->SetVisible(visible);
        if (visible) {
            if (Presenter* presenter = session_->VisiblePresenter()) {
                presenter->Show();
            }
            if (shown_) {
                shown_(shared_from_this());
            }
        }
        return {};
    }
    if (call.Is("Visible")) {
        return Variant(session_->Visible());
    }
    // The engine's own: whether Find also finds cells hidden from view.
    if (call.IsPut("FindHiddenCells")) {
        session_->SetFindsHiddenCells(call.Required(0).ToBool());
        return {};
    }
    if (call.Is("FindHiddenCells")) {
        return Variant(session_->FindsHiddenCells());
    }
    // The engine's own, for a cell index: the word's literal parts folded as the index's
    // texts are, each followed by the separator.
    if (call.Is("IndexLiterals")) {
        call.AllowAtMost(1);
        QString literals;
        for (const QString& run : FindPattern::LiteralRuns(call.Required(0).ToString())) {
            TextFolder::AppendForIndex(run, literals);
            literals += BookTexts::Separator;
        }
        return Variant(literals);
    }
    if (call.Is("Quit")) {
        call.AllowAtMost(0);
        session_->Quit();
        return {};
    }
    call.Unsupported();
}

bool ApplicationObject::IsShownAndRunning() const {
    return !session_->HasQuit() && session_->Visible();
}

}  // namespace engine
