#include "Platform/Views/ScreenSaverView.hpp"

#include "Platform/Platform.hpp"
#include "Platform/Views/WindowSystem.hpp"

namespace orrelith::platform {

ScreenSaverView::ScreenSaverView(const Rect& frame, SaverMode mode)
    : View(frame, windows().makeViewBackend()), mode_(mode) {}

ScreenSaverView::ScreenSaverView(const Archive&)
    : View(Rect{}, windows().makeViewBackend()), mode_(SaverMode::FullScreen) {}

} // namespace orrelith::platform
