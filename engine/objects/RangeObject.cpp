#include "engine/objects/RangeObject.h"

#include "engine/model/CellText.h"
#include "engine/model/Workbook.h"
#include "engine/objects/CommentObject.h"
#include "engine/objects/EngineSession.h"
#include "engine/objects/FindCall.h"
#include "engine/objects/MemberCall.h"
#include "engine/objects/OpenBook.h"

namespace engine {

Variant RangeObject::Invoke(const QString& member, InvokeKind kind,
                            const std::vector<Variant>& args) {
    const MemberCall call(member, kind, args);
    Workbook& book = book_->Book();
    const Worksheet& sheet = book_->Sheet(sheetIndex_);
    if (call.Is("Find")) {
        return Find(call, sheet);
    }
    if (call.Is("FindNext")) {
        return FindNext(call, sheet);
    }
    if (call.Is("Column")) {
        return Variant(int32_t{rect_.left});
    }
    if (call.Is("Row")) {
        return Variant(int32_t{rect_.top});
    }
    const Cell* cell = sheet.FindCell(rect_.top, rect_.left);
    if (call.Is("Text")) {
        return Variant(cell ? CellText::Text(book, *cell) : QString());
    }
    if (call.Is("Formula")) {
        return Variant(cell ? CellText::Formula(book, *cell) : QString());
    }
    if (call.Is("Comment")) {
        const QString* note = sheet.FindNote(rect_.top, rect_.left);
        return Variant(note ? ObjectRef(std::make_shared<CommentObject>(book_, *note)) : nullptr);
    }
    if (call.Is("Activate")) {
        call.AllowAtMost(0);
        book_->ActivateCell(sheetIndex_, rect_.top, rect_.left);
        return {};
    }
    call.Unsupported();
}

Variant RangeObject::Find(const MemberCall& call, const Worksheet& sheet) {
    FindOptions options = FindCall::Options(call);
    const CellPosition after = AfterPosition(call, 1);
    const auto session = book_->Session();
    options.hiddenCells = session && session->FindsHiddenCells();
    finder_ = std::make_unique<RangeFinder>(book_->Book(), sheet, rect_, options);
    if (session) {
        session->SetLastFind(options);
    }
    return CellAt(finder_->Next(after));
}

Variant RangeObject::FindNext(const MemberCall& call, const Worksheet& sheet) {
    call.AllowAtMost(1);
    if (!finder_) {
        // A range that has not searched itself continues the application's last Find.
        const auto session = book_->Session();
        if (!session || !session->LastFind()) {
            return Variant(ObjectRef());
        }
        finder_ = std::make_unique<RangeFinder>(book_->Book(), sheet, rect_, *session->LastFind());
    }
    return CellAt(finder_->Next(AfterPosition(call, 0)));
}

CellPosition RangeObject::AfterPosition(const MemberCall& call, size_t index) const {
    if (!call.Has(index)) {
        return {rect_.top, rect_.left};
    }
    const ObjectRef object = call.Required(index).ToObject();
    const auto* range = dynamic_cast<const RangeObject*>(object.get());
    if (!range) {
        MemberCall::BadArgument();
    }
    return {range->rect_.top, range->rect_.left};
}

Variant RangeObject::CellAt(std::optional<CellPosition> position) const {
    if (!position) {
        return Variant(ObjectRef());  // Nothing
    }
    const CellRect cell{position->row, position->column, position->row, position->column};
    return Variant(ObjectRef(std::make_shared<RangeObject>(book_, sheetIndex_, cell)));
}

}  // namespace engine
