// The shared-formula masters that the reader of a sheet's earlier rows has read so far, posted
// for the reader of its later rows, which runs at the same time (see WorksheetSplit). Posts are
// counted per group, so once the earlier rows are read the later reader can tell whether the
// master it borrowed was the last one they define.
#pragma once

#include "engine/readers/xlsx/FormulaText.h"

#include <QHash>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

namespace engine {

class MasterBoard {
public:
    struct Post {
        int32_t row;
        int32_t column;
        std::shared_ptr<const FormulaText> text;
        uint32_t count;  // how many masters of the group were posted, this one included
    };

    void Add(int si, int32_t row, int32_t column, std::shared_ptr<const FormulaText> text);
    std::optional<Post> Find(int si) const;

private:
    mutable std::mutex mutex_;
    QHash<int, Post> posts_;
};

}  // namespace engine
