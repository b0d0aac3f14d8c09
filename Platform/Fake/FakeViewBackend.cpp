#include "Platform/Fake/FakeViewBackend.hpp"

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
    auto elapsed = clock_->nowNanoseconds() - fade.start;
    if (fade.duration <= 0 || elapsed >= fade.duration)
        return fade.toAlpha;
    double progress = static_cast<double>(elapsed) / static_cast<double>(fade.duration);
    return fade.fromAlpha + (fade.toAlpha - fade.fromAlpha) * progress;
}

namespace {

std::size_t codePoints(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char byte : text)
        if ((byte & 0xC0) != 0x80)
            ++count;
    return count;
}

} // namespace

Size FakeLabelBackend::fittingSize() const {
    double size = labelState.font.size;
    return {static_cast<double>(codePoints(labelState.text)) * size * 0.6, size * 1.2};
}

FakeLabelBackend& FakeLabelBackend::of(const TextLabel& label) {
    return dynamic_cast<FakeLabelBackend&>(label.backend());
}

FakeButtonBackend& FakeButtonBackend::of(const Button& button) {
    return dynamic_cast<FakeButtonBackend&>(button.backend());
}

FakeImageViewBackend& FakeImageViewBackend::of(const ImageView& view) {
    return dynamic_cast<FakeImageViewBackend&>(view.backend());
}

} // namespace orrelith::platform
