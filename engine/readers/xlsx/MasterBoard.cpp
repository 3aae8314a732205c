#include "engine/readers/xlsx/MasterBoard.h"

namespace engine {

void MasterBoard::Add(int si, int32_t row, int32_t column,
                      std::shared_ptr<const FormulaText> text) {
    std::lock_guard lock(mutex_);
    const auto it = posts_.constFind(si);
    const uint32_t count = it == posts_.constEnd() ? 1 : it->count + 1;
    posts_.insert(si, Post{row, column, std::move(text), count});
}

std::optional<MasterBoard::Post> MasterBoard::Find(int si) const {
    std::lock_guard lock(mutex_);
    const auto it = posts_.constFind(si);
    if (it == posts_.constEnd()) {
        return std::nullopt;
    }
    return *it;
}

}  // namespace engine
