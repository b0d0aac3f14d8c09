#pragma once

#include "Host/HostOptions.hpp"

#include <functional>
#include <memory>
#include <string>

namespace orrelith::host {

// The settings pane as the host program drives it. A seam: the program's main gives the pane written on
// the toolkit (Host/SettingsPane), while HostApplication itself runs on the fake platform. Main thread only.
class SettingsWindow {
public:
    virtual ~SettingsWindow() = default;
    // Shows the pane; a chosen saver that does not load is told in the pane and through `say`.
    virtual void show() = 0;
    // Stops the preview quietly and closes the pane; only the first call does anything. The `closed` the
    // pane was made with runs once, on a later turn, after this or after the user closed the window.
    virtual void close() = 0;
};

// Makes the pane for the command line's options; `say` takes a line for the user.
using SettingsWindowFactory = std::function<std::shared_ptr<SettingsWindow>(
    const HostOptions& options, std::function<void()> closed, std::function<void(const std::string&)> say)>;

} // namespace orrelith::host
