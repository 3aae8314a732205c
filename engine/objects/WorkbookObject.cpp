#include "engine/objects/WorkbookObject.h"

#include "engine/model/Workbook.h"
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
    call.Unsupported();
}

}  // namespace engine
