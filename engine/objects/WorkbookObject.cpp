#include "engine/objects/WorkbookObject.h"

#include "engine/find/BookTexts.h"
#include "engine/model/Workbook.h"
#include "engine/objects/FindCall.h"
#include "engine/objects/MemberCall.h"
#include "engine/objects/OpenBook.h"
#include "engine/objects/WorksheetsObject.h"

#include <QFileInfo>

namespace engine {

Variant WorkbookObject::Invoke(const QString& member, InvokeKind kind,
                               const std::vector<Variant>& args) {
    const MemberCall call(member, kind, args);
    Workbook& book = book_->Book();
    if (call.Is("Worksheets")) {
        call.AllowAtMost(0);
        return Variant(ObjectRef(std::make_shared<WorksheetsObject>(book_)));
    }
    if (call.Is("Name")) {
        return Variant(QFileInfo(book.Path()).fileName());
    }
    if (call.Is("Close")) {
        // SaveChanges and the other arguments are accepted: the engine never writes.
        book_->Close();
        return {};
    }
    // The engine's own, for a cell index: the alphabet of the number cells, then the
    // workbook's distinct texts for one look-in, each followed by the separator; Null when
    // the workbook cannot be indexed.
    if (call.Is("IndexTexts")) {
        call.AllowAtMost(1);
        std::optional<BookTextList> list =
            BookTexts::Collect(book, FindCall::LookInOf(call.Required(0)));
        if (!list) {
            return Variant::Null();
        }
        return Variant(list->numberAlphabet + BookTexts::Separator + list->texts);
    }
    call.Unsupported();
}

}  // namespace engine
