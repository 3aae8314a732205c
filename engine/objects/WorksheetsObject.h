// The worksheet collection of an open workbook: Count and item (by 1-based position or by
// name).
#pragma once

#include "automation/AutomationObject.h"

#include <memory>

namespace engine {

class OpenBook;

class WorksheetsObject : public AutomationObject {
public:
    explicit WorksheetsObject(std::shared_ptr<OpenBook> book) : book_(std::move(book)) {}

    Variant Invoke(const QString& member, InvokeKind kind,
                   const std::vector<Variant>& args) override;

private:
    std::shared_ptr<OpenBook> book_;
};

}  // namespace engine
