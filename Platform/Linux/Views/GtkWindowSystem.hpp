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
    ~GtkWindowSystem() override;
    GtkWindowSystem(const GtkWindowSystem&) = delete;
    GtkWindowSystem& operator=(const GtkWindowSystem&) = delete;

    std::unique_ptr<ViewBackend> makeViewBackend() override;
    std::unique_ptr<LabelBackend> makeLabelBackend() override;
    std::unique_ptr<ImageViewBackend> makeImageViewBackend() override;
    std::unique_ptr<ButtonBackend> makeButtonBackend() override;
    std::unique_ptr<WindowBackend> makeWindowBackend(Window& window, const Rect& contentRect,
                                                     WindowStyle style) override;
    std::shared_ptr<Image> loadImage(const std::filesystem::path& path) override;
    void animate(AnimationGroup group) override;
    // Realizes a window that is never shown and keeps it: what the toolkit set up for it (its renderer, and
    // the display's GL context when it draws with GL) serves the windows to come. Destroying it at once instead crashes on X11, where its surface
    // still gets size requests.
    void prepareWindows() override;
    // Through GtkScreenshot.
    std::optional<std::string> writeScreenshot(const std::vector<std::shared_ptr<Window>>& windows,
                                               const std::filesystem::path& png) override;

private:
    std::shared_ptr<GdkScreenList> screens_;
    std::shared_ptr<GtkAnimator> animator_;
    GtkWidget* prepared_ = nullptr;
};

} // namespace orrelith::platform
