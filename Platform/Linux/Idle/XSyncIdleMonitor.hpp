#pragma once

#include "Platform/Linux/Idle/IdleReports.hpp"

#include "Platform/Idle/IdleMonitor.hpp"

#include <memory>
#include <string>

#include <glib.h>

namespace orrelith::platform {

// Idleness on X11 from the server's IDLETIME counter (the SYNC extension), with two alarms: one when the
// counter rises through the delay (idle), one when it falls back below it (the user came back). Its own
// connection to the X display named `display` (or $DISPLAY), made at the first question, watched from
// the default main context. Main thread only.
class XSyncIdleMonitor : public IdleMonitor, public std::enable_shared_from_this<XSyncIdleMonitor> {
public:
    explicit XSyncIdleMonitor(std::string display = {});
    ~XSyncIdleMonitor() override;
    XSyncIdleMonitor(const XSyncIdleMonitor&) = delete;
    XSyncIdleMonitor& operator=(const XSyncIdleMonitor&) = delete;

    bool isAvailable() override;
    void watch(double seconds, std::function<void()> idle, std::function<void()> active) override;
    void stop() override;

private:
    struct Connection;

    bool connect();
    void destroyAlarms();
    void readEvents();

    std::string displayName_;
    std::unique_ptr<Connection> x_;
    bool tried_ = false;
    IdleReports reports_;
};

} // namespace orrelith::platform
