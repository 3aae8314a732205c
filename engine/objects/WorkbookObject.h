// One open workbook of an engine application: Worksheets, Name, Close.
#pragma once

#include "automation/AutomationObject.h"

#include <memory>

namespace engine {

class OpenBook;

class WorkbookObject : public AutomationObject {
public:
    explicit WorkbookObject(std::shared_ptr<OpenBook> book) : book_(std::move(book)) {}

    Variant Invoke(const QString& member, InvokeKind kind,
                   const std::vector<Variant>& args) override;

private:
    std::shared_ptr<OpenBook> book_;
};

}  // namespace engine
