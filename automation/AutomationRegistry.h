// Maps a ProgID ("Excel.Application") to the server that answers for it. The program entry
// builds one and registers its servers; whoever starts or attaches to an application is
// handed it.
#pragma once

#include "automation/AutomationObject.h"

#include <QString>
#include <map>
#include <memory>

class AutomationRegistry {
public:
    void Register(const QString& progId, std::shared_ptr<AutomationServer> server);
    void Unregister(const QString& progId);
    // The server for the ProgID, or null when none is registered.
    std::shared_ptr<AutomationServer> Find(const QString& progId) const;

private:
    // Keyed by the upper-cased ProgID: ProgIDs are not case sensitive.
    std::map<QString, std::shared_ptr<AutomationServer>> servers_;
};
