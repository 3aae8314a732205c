// The Workbooks collection of an engine application: Open, Count, and ReadAhead, which
// names a workbook that Open will be asked for soon.
#pragma once

#include "automation/AutomationObject.h"

#include <memory>

namespace engine {

class EngineSession;

class WorkbooksObject : public AutomationObject {
public:
    explicit WorkbooksObject(std::shared_ptr<EngineSession> session)
        : session_(std::move(session)) {}

    Variant Invoke(const QString& member, InvokeKind kind,
                   const std::vector<Variant>& args) override;

private:
    std::shared_ptr<EngineSession> session_;
};

}  // namespace engine
