#pragma once

#include "Platform/Idle/IdleMonitor.hpp"

#include <memory>

namespace orrelith::platform {

// The user's idleness from whichever display server this process is given: Wayland when WAYLAND_DISPLAY
// names one, else X11 ($DISPLAY). Nothing connects before the first question, so processes that never
// ask pay nothing. Main thread only.
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
