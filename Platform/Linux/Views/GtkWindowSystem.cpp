#include "Platform/Linux/Views/GtkWindowSystem.hpp"

#include "Platform/Linux/Views/GtkButtonBackend.hpp"
#include "Platform/Linux/Views/GtkImageViewBackend.hpp"
#include "Platform/Linux/Views/GtkLabelBackend.hpp"
#include "Platform/Linux/Views/GtkScreenshot.hpp"
#include "Platform/Linux/Views/GtkViewBackend.hpp"
#include "Platform/Linux/Views/GtkWindowBackend.hpp"

namespace orrelith::platform {

GtkWindowSystem::GtkWindowSystem(std::shared_ptr<MainQueue> queue, std::shared_ptr<GdkScreenList> screens)
    : screens_(std::move(screens)), animator_(std::make_shared<GtkAnimator>(std::move(queue))) {}

GtkWindowSystem::~GtkWindowSystem() {
    if (prepared_)
        gtk_window_destroy(GTK_WINDOW(prepared_));
}

std::unique_ptr<ViewBackend> GtkWindowSystem::makeViewBackend() { return std::make_unique<GtkViewBackend>(); }

std::unique_ptr<LabelBackend> GtkWindowSystem::makeLabelBackend() { return std::make_unique<GtkLabelBackend>(); }

std::unique_ptr<ImageViewBackend> GtkWindowSystem::makeImageViewBackend() {
    return std::make_unique<GtkImageViewBackend>();
}

std::unique_ptr<ButtonBackend> GtkWindowSystem::makeButtonBackend() { return std::make_unique<GtkButtonBackend>(); }

std::unique_ptr<WindowBackend> GtkWindowSystem::makeWindowBackend(Window& window, const Rect& contentRect,
                                                                  WindowStyle style) {
    return std::make_unique<GtkWindowBackend>(window, contentRect, style, screens_);
}

std::shared_ptr<Image> GtkWindowSystem::loadImage(const std::filesystem::path& path) {
    return TextureImage::load(path);
}

void GtkWindowSystem::animate(AnimationGroup group) { animator_->run(std::move(group)); }

void GtkWindowSystem::prepareWindows() {
    if (prepared_)
        return;
    prepared_ = gtk_window_new();
    gtk_widget_realize(prepared_);
}

std::optional<std::string> GtkWindowSystem::writeScreenshot(const std::vector<std::shared_ptr<Window>>& windows,
                                                            const std::filesystem::path& png) {
    return GtkScreenshot::write(windows, png);
}

} // namespace orrelith::platform
