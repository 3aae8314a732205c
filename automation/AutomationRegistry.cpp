#include "automation/AutomationRegistry.h"

void AutomationRegistry::Register(const QString& progId, std::shared_ptr<AutomationServer> server) {
    servers_[progId.toUpper()] = std::move(server);
}

void AutomationRegistry::Unregister(const QString& progId) {
    servers_.erase(progId.toUpper());
}

std::shared_ptr<AutomationServer> AutomationRegistry::Find(const QString& progId) const {
    const auto it = servers_.find(progId.toUpper());
    return it == servers_.end() ? nullptr : it->second;
}
