#include "engine/objects/CommentObject.h"

#include "engine/objects/MemberCall.h"
#include "engine/objects/OpenBook.h"

namespace engine {

Variant CommentObject::Invoke(const QString& member, InvokeKind kind,
                              const std::vector<Variant>& args) {
    const MemberCall call(member, kind, args);
    book_->Book();  // raises once the workbook is closed
    if (call.Is("Text")) {
        call.AllowAtMost(0);  // with arguments Text would change the note: the engine never writes
        return Variant(text_);
    }
    call.Unsupported();
}

}  // namespace engine
