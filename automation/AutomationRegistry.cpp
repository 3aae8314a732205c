#include "automation/AutomationObject.h"

#include <map>

namespace {

// Keyed by the upper-cased ProgID: ProgIDs are not case sensitive.
std::map<QString, std::shared_ptr<AutomationServer>>& Servers() {
    static std::map<QString, std::shared_ptr<AutomationServer>> servers;
    return servers;
}

}  // namespace

void AutomationRegistry::Register(const QString& progId, std::shared_ptr<AutomationServer> server) {
    Servers()[progId.toUpper()] = std::move(server);
}

void AutomationRegistry::Unregister(const QString& progId) {
    Servers().erase(progId.toUpper());
}

std::shared_ptr<AutomationServer> AutomationRegistry::Find(const QString& progId) {
    auto it = Servers().find(progId.toUpper());
    return it == Servers().end() ? nullptr : it->second;
}
