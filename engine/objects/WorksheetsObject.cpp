#include "engine/objects/WorksheetsObject.h"

#include "engine/model/EngineError.h"
#include "engine/model/Workbook.h"
#include "engine/objects/MemberCall.h"
#include "engine/objects/OpenBook.h"
#include "engine/objects/WorksheetObject.h"

namespace engine {
namespace {

[[noreturn]] void OutOfRange() {
    throw EngineError(EngineErrorKind::InvalidCall,
                      QStringLiteral("インデックスが有効範囲にありません。"));
}

// The 0-based position that an item argument names.
int Position(const Workbook& book, const Variant& key) {
    if (key.Type() == VariantType::String) {
        for (int i = 0; i < book.SheetCount(); ++i) {
            if (book.SheetName(i).compare(key.ToString(), Qt::CaseInsensitive) == 0) {
                return i;
            }
        }
        OutOfRange();
    }
    const int32_t index = key.ToInt();
    if (index < 1 || index > book.SheetCount()) {
        OutOfRange();
    }
    return index - 1;
}

}  // namespace

Variant WorksheetsObject::Invoke(const QString& member, InvokeKind kind,
                                 const std::vector<Variant>& args) {
    const MemberCall call(member, kind, args);
    Workbook& book = book_->Book();
    if (call.Is("Count")) {
        call.AllowAtMost(0);
        return Variant(int32_t{book.SheetCount()});
    }
    if (call.Is("Item")) {
        call.AllowAtMost(1);
        const int position = Position(book, call.Required(0));
        return Variant(ObjectRef(std::make_shared<WorksheetObject>(book_, position)));
    }
    call.Unsupported();
}

}  // namespace engine
