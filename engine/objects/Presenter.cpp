#include "engine/objects/Presenter.h"

namespace engine {
namespace {

Presenter* current = nullptr;

}  // namespace

void SetPresenter(Presenter* presenter) {
    current = presenter;
}

Presenter* CurrentPresenter() {
    return current;
}

}  // namespace engine
