#include "app/DesktopEngine.h"

#include "engine/objects/EngineServer.h"

DesktopEngine::DesktopEngine() {
    engine::RegisterEngine(servers_, &viewer_);
}
