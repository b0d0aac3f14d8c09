#pragma once

#include "Platform/System/ClassRegistry.hpp"
#include "Platform/Views/Screen.hpp"
#include "Platform/Views/ScreenSaverView.hpp"
#include "Platform/Views/Window.hpp"

#include <memory>
#include <string>

namespace orrelith::host {

// One saver view in the window that shows it, as the host sets them up: window made, view put in. Showing
// the window and starting the view's animation are the run's business. The makers throw HostError when the
// principal class makes no view. Main thread only.
struct SaverStage {
    static constexpr double previewWidth = 296;
    static constexpr double previewHeight = 184;
    static constexpr double buttonBarHeight = 44;
    static constexpr const char* optionsTitle = "Options\u2026";

    std::shared_ptr<platform::Window> window;
    std::shared_ptr<platform::ScreenSaverView> view;
    // The screen a full-screen stage covers.
    std::shared_ptr<platform::Screen> screen;

    // A full-screen view covering `screen`, in a borderless window made full screen on it.
    static SaverStage fullScreen(const platform::ClassRegistry::Entry& principal,
                                 const std::shared_ptr<platform::Screen>& screen);
    // A preview view in a small titled window.
    static SaverStage preview(const platform::ClassRegistry::Entry& principal, const std::string& title);
    // The preview above an "Options…" button that presents the view's configuration sheet on the window.
    static SaverStage settings(const platform::ClassRegistry::Entry& principal, const std::string& title);

    // What "Options…" does: asks the view for its configuration sheet and presents it on the window, unless
    // the view has none or a sheet is already up.
    static void presentConfigureSheet(platform::Window& window, platform::ScreenSaverView& view);
};

} // namespace orrelith::host
