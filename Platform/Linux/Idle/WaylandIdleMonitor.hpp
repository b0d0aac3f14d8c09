#pragma once

#include "Platform/Linux/Idle/IdleReports.hpp"

#include "Platform/Idle/IdleMonitor.hpp"

#include <memory>

namespace orrelith::platform {

// Idleness on Wayland: the compositor's ext-idle-notify-v1 notifier, else KDE's idle protocol
// (org_kde_kwin_idle, which sway 1.7 offers), for the first seat. Both honour the compositor's idle
// inhibitors. Its own connection to the compositor named by WAYLAND_DISPLAY, made at the first question
// (one round trip) and read from the default main context. The delay counts from the watch: these
// protocols do not say how long the user has been idle already. Main thread only.
class WaylandIdleMonitor : public IdleMonitor, public std::enable_shared_from_this<WaylandIdleMonitor> {
public:
    WaylandIdleMonitor();
    ~WaylandIdleMonitor() override;
    WaylandIdleMonitor(const WaylandIdleMonitor&) = delete;
    WaylandIdleMonitor& operator=(const WaylandIdleMonitor&) = delete;

    bool isAvailable() override;
    void watch(double seconds, std::function<void()> idle, std::function<void()> active) override;
    void stop() override;

    // The report of the compositor's protocol objects: `idle` true for idle, false for resumed.
    void reported(bool idle);

private:
    struct Connection;

    bool connect();
    void releaseNotification();
    void readEvents();

    std::unique_ptr<Connection> wayland_;
    bool tried_ = false;
    IdleReports reports_;
};

} // namespace orrelith::platform
