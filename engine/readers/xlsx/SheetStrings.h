// The strings a worksheet reader makes (inline text, formulas, error codes; formulas other
// than shared masters and tables deferred), pooled apart from the workbook while the sheet
// is read, so a part of the sheet can be read on another thread. Their indexes carry
// LocalBit until MoveInto() hands them to the workbook's pool.
#pragma once

#include "engine/model/Cell.h"
#include "engine/model/DeferredText.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace engine {

class Workbook;

class SheetStrings {
public:
    static constexpr uint32_t LocalBit = 0x80000000u;

    uint32_t Add(QString text) {
        strings_.push_back(std::move(text));
        return LocalBit | static_cast<uint32_t>(strings_.size() - 1);
    }
    // A string the workbook renders from `source` when it is first read.
    uint32_t AddDeferred(std::shared_ptr<const DeferredText> source, int32_t first,
                         int32_t second) {
        deferred_.push_back(
            {static_cast<uint32_t>(strings_.size()), first, second, std::move(source)});
        return Add(QString());
    }

    // Appends the strings to the workbook's pool.
    void MoveInto(Workbook& book);
    // Turns the local indexes of `cells` into the pool indexes MoveInto gave them.
    void Remap(std::vector<Cell>& cells) const;

private:
    struct Deferred {
        uint32_t local;
        int32_t first;
        int32_t second;
        std::shared_ptr<const DeferredText> source;
    };
    std::vector<QString> strings_;
    std::vector<Deferred> deferred_;
    uint32_t base_ = 0;
};

}  // namespace engine
