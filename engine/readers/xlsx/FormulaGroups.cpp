#include "engine/readers/xlsx/FormulaGroups.h"

#include "engine/readers/xlsx/FormulaText.h"
#include "engine/readers/xlsx/SheetStrings.h"

#include <algorithm>

namespace engine {

uint32_t FormulaGroups::Plain(std::string_view formula) {
    if (!plain_ || !plain_->HasRoomFor(formula.size())) {
        plain_ = std::make_shared<PlainFormulas>();
    }
    const int32_t offset = plain_->Append(formula);
    return strings_.AddDeferred(plain_, offset, static_cast<int32_t>(formula.size()));
}

uint32_t FormulaGroups::SharedMaster(int si, int32_t row, int32_t column, const QString& text) {
    auto master = std::make_shared<const FormulaText>(text);
    if (postTo_) {
        postTo_->Add(si, row, column, master);
    }
    masters_.insert(si, Master{row, column, std::move(master)});
    return strings_.Add(FormulaText::Translate(text, 0, 0));
}

uint32_t FormulaGroups::SharedMember(int si, int32_t row, int32_t column) {
    if (borrowFrom_ && !masters_.contains(si)) {
        if (const auto post = borrowFrom_->Find(si)) {
            masters_.insert(si, Master{post->row, post->column, post->text});
            borrowed_.insert(si, post->count);
        }
    }
    const auto it = masters_.constFind(si);
    if (it == masters_.constEnd()) {
        return NoString;
    }
    // Rendered only if the formula is shown or compared.
    return strings_.AddDeferred(it->text, row - it->row, column - it->column);
}

std::optional<QString> FormulaGroups::MemberText(int si, int32_t row, int32_t column) const {
    const auto it = masters_.constFind(si);
    if (it == masters_.constEnd()) {
        return std::nullopt;
    }
    return it->text->Moved(row - it->row, column - it->column);
}

bool FormulaGroups::BorrowedLatest() const {
    for (auto it = borrowed_.constBegin(); it != borrowed_.constEnd(); ++it) {
        if (borrowFrom_->Find(it.key())->count != it.value()) {
            return false;
        }
    }
    return true;
}

void FormulaGroups::AddArray(const CellRect& range, uint32_t formula) {
    arrays_.push_back(Array{range, formula});
}

uint32_t FormulaGroups::ArrayAt(int32_t row, int32_t column) {
    if (arrays_.empty()) {
        return NoString;
    }
    arrays_.erase(std::remove_if(arrays_.begin(), arrays_.end(),
                                 [row](const Array& a) { return a.range.bottom < row; }),
                  arrays_.end());
    for (const Array& array : arrays_) {
        const CellRect& r = array.range;
        if (row >= r.top && row <= r.bottom && column >= r.left && column <= r.right) {
            return array.formula;
        }
    }
    return NoString;
}

}  // namespace engine
