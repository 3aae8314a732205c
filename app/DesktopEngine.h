// What the program entry builds once and hands the main window: the automation servers, with
// the embedded engine as "Excel.Application" showing its workbooks in the program's viewer.
#pragma once

#include "app/ViewerPresenter.h"
#include "automation/AutomationRegistry.h"

class DesktopEngine {
public:
    DesktopEngine();
    DesktopEngine(const DesktopEngine&) = delete;
    DesktopEngine& operator=(const DesktopEngine&) = delete;

    const AutomationRegistry& Servers() const { return servers_; }
    ViewerPresenter& Viewer() { return viewer_; }

private:
    ViewerPresenter viewer_;  // outlives the servers, which point to it
    AutomationRegistry servers_;
};
