// A scoped wait cursor. Storage cannot reach the GUI, so the main window installs hooks that push
// and pop the application's override cursor; nested objects unwind in reverse order through that
// stack. Without hooks (no GUI in the process) it does nothing.
#pragma once

#include <functional>

class TCursorHourGlass {
public:
    TCursorHourGlass();
    TCursorHourGlass(const TCursorHourGlass&) = delete;
    TCursorHourGlass& operator=(const TCursorHourGlass&) = delete;
    ~TCursorHourGlass();

    // Empty functions remove the hooks.
    static void SetHooks(std::function<void()> push, std::function<void()> pop);

private:
    bool pushed_ = false;
};
