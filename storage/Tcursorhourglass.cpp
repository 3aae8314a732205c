#include "storage/Tcursorhourglass.h"

namespace {

struct Hooks {
    std::function<void()> push;
    std::function<void()> pop;
};

Hooks& CurrentHooks() {
    static Hooks hooks;
    return hooks;
}

}  // namespace

TCursorHourGlass::TCursorHourGlass() {
    Hooks& hooks = CurrentHooks();
    if (hooks.push && hooks.pop) {
        hooks.push();
        pushed_ = true;
    }
}

TCursorHourGlass::~TCursorHourGlass() {
    // Pops only what this object pushed, even if the hooks changed in between.
    if (pushed_ && CurrentHooks().pop) {
        CurrentHooks().pop();
    }
}

void TCursorHourGlass::SetHooks(std::function<void()> push, std::function<void()> pop) {
    CurrentHooks() = Hooks{std::move(push), std::move(pop)};
}
