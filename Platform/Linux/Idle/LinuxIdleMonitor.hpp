#pragma once

#include "Platform/Idle/IdleMonitor.hpp"

#include <memory>

namespace orrelith::platform {

// The user's idleness from whichever display server this process is given: Wayland when WAYLAND_DISPLAY
// names one, else X11 ($DISPLAY). A Wayland compositor without an idle protocol is taken for GNOME's when
// there is a session bus, and asked over the bus (MutterIdleMonitor): whether its monitor is really there
// is known only a moment later, and a blocking question at the start would hold the main thread on a
// bus that does not answer. Nothing connects before the first question, so processes that never ask pay
// nothing. Main thread only; reports as the chosen monitor makes them, never inside a call.
class LinuxIdleMonitor : public IdleMonitor {
public:
    bool isAvailable() override;
    void watch(double seconds, std::function<void()> idle, std::function<void()> active) override;
    void stop() override;

private:
    IdleMonitor* chosen();

    std::shared_ptr<IdleMonitor> chosen_;
};

} // namespace orrelith::platform
