#include "Platform/Fake/Views/FakeViewBackend.hpp"

#include <stdexcept>

namespace orrelith::platform {

FakeBackendBase& FakeBackendBase::of(const View& view) {
    auto* fake = dynamic_cast<FakeBackendBase*>(&view.backend());
    if (!fake)
        throw std::logic_error("the view was not made by the fake window system");
    return *fake;
}

double FakeBackendBase::drawnAlpha() const {
    if (!state.fade)
        return state.alpha;
    const auto& fade = *state.fade;
    auto clock = clock_.lock();
    if (!clock)
        return fade.toAlpha;
    auto elapsed = clock->nowNanoseconds() - fade.start;
    if (fade.duration <= 0 || elapsed >= fade.duration)
        return fade.toAlpha;
    double progress = static_cast<double>(elapsed) / static_cast<double>(fade.duration);
    return fade.fromAlpha + (fade.toAlpha - fade.fromAlpha) * progress;
}

} // namespace orrelith::platform
