// One worksheet of an open workbook: Name, Activate, Cells, UsedRange.
#pragma once

#include "automation/AutomationObject.h"

#include <memory>

namespace engine {

class OpenBook;

class WorksheetObject : public AutomationObject {
public:
    WorksheetObject(std::shared_ptr<OpenBook> book, int index)
        : book_(std::move(book)), index_(index) {}

    Variant Invoke(const QString& member, InvokeKind kind,
                   const std::vector<Variant>& args) override;

private:
    std::shared_ptr<OpenBook> book_;
    int index_;  // 0-based position in the workbook
};

}  // namespace engine
