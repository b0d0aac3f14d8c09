#pragma once

#include "Platform/Views/AnimationContext.hpp"
#include "Platform/Views/Geometry.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orrelith::platform {

class ButtonBackend;
class Image;
class ImageViewBackend;
class LabelBackend;
class ViewBackend;
class Window;
class WindowBackend;
enum class WindowStyle : unsigned;

// Makes the toolkit's side of views and windows, decodes images and draws animations. Main thread only.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    virtual std::unique_ptr<ViewBackend> makeViewBackend() = 0;
    virtual std::unique_ptr<LabelBackend> makeLabelBackend() = 0;
    virtual std::unique_ptr<ImageViewBackend> makeImageViewBackend() = 0;
    virtual std::unique_ptr<ButtonBackend> makeButtonBackend() = 0;
    // `window` owns the backend and outlives it; the backend reports toolkit changes to it.
    virtual std::unique_ptr<WindowBackend> makeWindowBackend(Window& window, const Rect& contentRect,
                                                             WindowStyle style) = 0;
    // The decoded image, or null when the file is missing or not an image.
    virtual std::shared_ptr<Image> loadImage(const std::filesystem::path& path) = 0;
    // Draws the group's changes (each view's backend alpha from `fromAlpha` to `toAlpha`) and runs the
    // completion once, as AnimationContext describes. A view that went away is skipped.
    virtual void animate(AnimationGroup group) = 0;
    // Readies what showing the process's first window needs (the renderer, the toolkit's connections),
    // so that a window shown later appears without that wait. Synchronous; showing nothing.
    virtual void prepareWindows() = 0;
    // Draws the windows as they are now into one PNG file, one pixel per point: each window at its frame's
    // place within the smallest rectangle that holds all their frames, black where no window is.
    // Synchronous. Nothing on success, else why no file was written (no window drawn yet, an unwritable
    // path).
    virtual std::optional<std::string> writeScreenshot(const std::vector<std::shared_ptr<Window>>& windows,
                                                       const std::filesystem::path& png) = 0;
};

} // namespace orrelith::platform
