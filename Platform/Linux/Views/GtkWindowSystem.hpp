#pragma once

#include "Platform/Linux/Views/GdkScreenList.hpp"
#include "Platform/Linux/Views/GtkAnimator.hpp"
#include "Platform/System/MainQueue.hpp"
#include "Platform/Views/WindowSystem.hpp"

#include <memory>

namespace orrelith::platform {

// Views, windows, images and animations on GTK 4. Needs GTK initialised with a display. Main thread only.
class GtkWindowSystem : public WindowSystem {
public:
    GtkWindowSystem(std::shared_ptr<MainQueue> queue, std::shared_ptr<GdkScreenList> screens);

    std::unique_ptr<ViewBackend> makeViewBackend() override;
    std::unique_ptr<LabelBackend> makeLabelBackend() override;
    std::unique_ptr<ImageViewBackend> makeImageViewBackend() override;
    std::unique_ptr<ButtonBackend> makeButtonBackend() override;
    std::unique_ptr<WindowBackend> makeWindowBackend(Window& window, const Rect& contentRect,
                                                     WindowStyle style) override;
    std::shared_ptr<Image> loadImage(const std::filesystem::path& path) override;
    void animate(AnimationGroup group) override;
    // Through GtkScreenshot.
    std::optional<std::string> writeScreenshot(const std::vector<std::shared_ptr<Window>>& windows,
                                               const std::filesystem::path& png) override;

private:
    std::shared_ptr<GdkScreenList> screens_;
    std::shared_ptr<GtkAnimator> animator_;
};

} // namespace orrelith::platform
