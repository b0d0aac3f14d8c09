#include "Platform/Fake/Views/FakeWindowSystem.hpp"

#include "Platform/Views/View.hpp"
#include "Platform/Views/Window.hpp"

#include <system_error>

namespace orrelith::platform {

FakeWindowSystem::FakeWindowSystem(std::shared_ptr<FakeMainQueue> queue, std::shared_ptr<FakeScreenList> screens)
    : queue_(std::move(queue)), screens_(std::move(screens)) {}

std::unique_ptr<ViewBackend> FakeWindowSystem::makeViewBackend() {
    ++record_.viewBackendsMade;
    return std::make_unique<FakeViewBackend>(queue_);
}

std::unique_ptr<LabelBackend> FakeWindowSystem::makeLabelBackend() {
    ++record_.labelBackendsMade;
    return std::make_unique<FakeLabelBackend>(queue_);
}

std::unique_ptr<ImageViewBackend> FakeWindowSystem::makeImageViewBackend() {
    ++record_.imageViewBackendsMade;
    return std::make_unique<FakeImageViewBackend>(queue_);
}

std::unique_ptr<ButtonBackend> FakeWindowSystem::makeButtonBackend() {
    ++record_.buttonBackendsMade;
    return std::make_unique<FakeButtonBackend>(queue_);
}

std::unique_ptr<WindowBackend> FakeWindowSystem::makeWindowBackend(Window& window, const Rect& contentRect,
                                                                   WindowStyle) {
    ++record_.windowBackendsMade;
    return std::make_unique<FakeWindowBackend>(window, contentRect, screens_);
}

std::shared_ptr<Image> FakeWindowSystem::loadImage(const std::filesystem::path& path) {
    record_.imageLoads.push_back(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) == 0 || error)
        return nullptr;
    return std::make_shared<FakeImage>(path, imageSize);
}

void FakeWindowSystem::animate(AnimationGroup group) {
    auto id = nextGroup_++;
    record_.animations.push_back({group.duration, group.changes.size(), queue_->now()});
    auto start = queue_->nowNanoseconds();
    auto duration = group.changes.empty() ? 0 : std::max<std::int64_t>(0, toNanoseconds(group.duration));
    for (auto& change : group.changes) {
        auto view = change.view.lock();
        if (!view)
            continue;
        auto& backend = FakeBackendBase::of(*view);
        backend.state.alpha = change.toAlpha;
        backend.state.fade = FakeFade{change.fromAlpha, change.toAlpha, start, duration, id};
    }
    std::weak_ptr<FakeWindowSystem> weak = weak_from_this();
    queue_->enqueue(start + duration, [weak, id, group = std::move(group)] {
        auto self = weak.lock();
        if (!self)
            return;
        self->finish(id, group);
    });
}

void FakeWindowSystem::finish(std::uint64_t id, const AnimationGroup& group) {
    for (auto& change : group.changes) {
        auto view = change.view.lock();
        if (!view)
            continue;
        auto& state = FakeBackendBase::of(*view).state;
        // A later group on the same view has taken over its drawing.
        if (state.fade && state.fade->group == id)
            state.fade.reset();
    }
    ++record_.completionsRun;
    if (group.completion)
        group.completion();
}

std::optional<std::string> FakeWindowSystem::writeScreenshot(const std::vector<std::shared_ptr<Window>>& windows,
                                                             const std::filesystem::path& png) {
    ScreenshotRecord taken{png, {}, queue_->now()};
    for (auto& window : windows)
        taken.windowFrames.push_back(window->frame());
    record_.screenshots.push_back(std::move(taken));
    return screenshotFailure;
}

} // namespace orrelith::platform
