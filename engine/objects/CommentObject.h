// The note of a cell: Text, the whole stored text.
#pragma once

#include "automation/AutomationObject.h"

#include <memory>

namespace engine {

class OpenBook;

class CommentObject : public AutomationObject {
public:
    CommentObject(std::shared_ptr<OpenBook> book, QString text)
        : book_(std::move(book)), text_(std::move(text)) {}

    Variant Invoke(const QString& member, InvokeKind kind,
                   const std::vector<Variant>& args) override;

private:
    std::shared_ptr<OpenBook> book_;
    QString text_;
};

}  // namespace engine
