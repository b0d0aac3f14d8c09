#include "Platform/Fake/Views/FakeWindowBackend.hpp"

namespace orrelith::platform {

FakeWindowBackend::FakeWindowBackend(Window& window, const Rect& contentRect, std::shared_ptr<FakeScreenList> screens)
    : window_(window), screens_(std::move(screens)) {
    state.frame = contentRect;
}

FakeWindowBackend& FakeWindowBackend::of(const Window& window) {
    return dynamic_cast<FakeWindowBackend&>(window.backend());
}

void FakeWindowBackend::show() {
    ++state.showCalls;
    state.shown = true;
}

void FakeWindowBackend::hide() {
    ++state.hideCalls;
    state.shown = false;
}

void FakeWindowBackend::close() {
    ++state.closeCalls;
    state.closed = true;
    state.shown = false;
}

void FakeWindowBackend::makeFullScreen(const Screen& screen) {
    state.fullScreenOn = &screen;
    state.frame = screen.frame();
    window_.toolkitResized(state.frame);
}

std::shared_ptr<Screen> FakeWindowBackend::screen() const {
    if (screenOverride)
        return *screenOverride;
    for (auto& candidate : screens_->list)
        if (candidate->frame().intersects(state.frame))
            return candidate;
    return nullptr;
}

void FakeWindowBackend::simulateResize(const Rect& frame) {
    state.frame = frame;
    window_.toolkitResized(frame);
}

void FakeWindowBackend::simulateShown(bool visible) {
    state.shown = visible;
    window_.toolkitShown(visible);
}

void FakeWindowBackend::simulateUserEvent(const UserEvent& event) {
    if (event.kind == UserEvent::Kind::CloseRequest)
        simulateShown(false);
    window_.toolkitUserEvent(event);
}

} // namespace orrelith::platform
