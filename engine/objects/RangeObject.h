// A rectangle of cells on one worksheet: Find and FindNext, and for its top-left cell
// Column, Row, Text, Formula, Comment and Activate. A range keeps the matches of its last
// Find, so FindNext on it continues without scanning again.
#pragma once

#include "automation/AutomationObject.h"
#include "engine/find/RangeFinder.h"
#include "engine/model/Worksheet.h"

#include <memory>

namespace engine {

class MemberCall;
class OpenBook;

class RangeObject : public AutomationObject {
public:
    RangeObject(std::shared_ptr<OpenBook> book, int sheetIndex, CellRect rect)
        : book_(std::move(book)), sheetIndex_(sheetIndex), rect_(rect) {}

    Variant Invoke(const QString& member, InvokeKind kind,
                   const std::vector<Variant>& args) override;

private:
    Variant Find(const MemberCall& call, const Worksheet& sheet);
    Variant FindNext(const MemberCall& call, const Worksheet& sheet);
    // The top-left cell of the range that `after` holds; this range's top-left when omitted.
    CellPosition AfterPosition(const MemberCall& call, size_t index) const;
    Variant CellAt(std::optional<CellPosition> position) const;

    std::shared_ptr<OpenBook> book_;
    int sheetIndex_;
    CellRect rect_;
    std::unique_ptr<RangeFinder> finder_;
};

}  // namespace engine
