#include "engine/objects/WorksheetObject.h"

#include "engine/model/EngineError.h"
#include "engine/objects/MemberCall.h"
#include "engine/objects/OpenBook.h"
#include "engine/objects/RangeObject.h"

namespace engine {
namespace {

int32_t Coordinate(const Variant& value, int32_t max) {
    const int32_t coordinate = value.ToInt();
    if (coordinate < 1 || coordinate > max) {
        throw EngineError(EngineErrorKind::InvalidCall,
                          QStringLiteral("インデックスが有効範囲にありません。"));
    }
    return coordinate;
}

}  // namespace

Variant WorksheetObject::Invoke(const QString& member, InvokeKind kind,
                                const std::vector<Variant>& args) {
    const MemberCall call(member, kind, args);
    Worksheet& sheet = book_->Sheet(index_);
    if (call.Is("Name")) {
        return Variant(sheet.Name());
    }
    if (call.Is("Activate")) {
        call.AllowAtMost(0);
        book_->ActivateSheet(index_);
        return {};
    }
    if (call.Is("Cells")) {
        call.AllowAtMost(2);
        const int32_t row = Coordinate(call.Required(0), MaxRows);
        const int32_t column = Coordinate(call.Required(1), MaxColumns);
        return Variant(ObjectRef(
            std::make_shared<RangeObject>(book_, index_, CellRect{row, column, row, column})));
    }
    if (call.Is("UsedRange")) {
        call.AllowAtMost(0);
        return Variant(ObjectRef(std::make_shared<RangeObject>(book_, index_, sheet.UsedRange())));
    }
    call.Unsupported();
}

}  // namespace engine
