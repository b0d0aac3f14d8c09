#pragma once

#include <functional>

namespace orrelith::platform {

// How long the user has left the machine alone, as the display server counts it: any key, button or
// pointer motion on any device is activity, and what holds the display server's idleness off (an idle
// inhibitor of a full-screen video, say) holds these reports off too. Reports are event-driven; nothing
// polls. Main thread only; the reports come on the main thread, never inside the call that asks for them.
class IdleMonitor {
public:
    virtual ~IdleMonitor() = default;

    // Whether the display server can tell; nothing is ever reported when it cannot.
    virtual bool isAvailable() = 0;
    // From now on: `idle` once the user has done nothing for `seconds` (counted from their last activity,
    // which may lie before this call), and `active` at their first activity after each `idle`. Replaces
    // the watch before.
    virtual void watch(double seconds, std::function<void()> idle, std::function<void()> active) = 0;
    // No more reports.
    virtual void stop() = 0;
};

} // namespace orrelith::platform
