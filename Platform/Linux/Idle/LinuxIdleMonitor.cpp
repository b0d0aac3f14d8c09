#include "Platform/Linux/Idle/LinuxIdleMonitor.hpp"

#include "Platform/Linux/Idle/MutterIdleMonitor.hpp"
#include "Platform/Linux/Idle/WaylandIdleMonitor.hpp"
#include "Platform/Linux/System/DBusConnector.hpp"
#include "Platform/Linux/Idle/XSyncIdleMonitor.hpp"

#include <glib.h>

namespace orrelith::platform {

IdleMonitor* LinuxIdleMonitor::chosen() {
    if (chosen_)
        return chosen_.get();
    if (const char* wayland = g_getenv("WAYLAND_DISPLAY"); wayland && *wayland) {
        auto protocols = std::make_shared<WaylandIdleMonitor>();
        if (protocols->isAvailable() || !DBusConnector::address(DBusConnector::Bus::Session))
            chosen_ = protocols;
        else
            chosen_ = MutterIdleMonitor::create();
    } else
        chosen_ = std::make_shared<XSyncIdleMonitor>();
    return chosen_.get();
}

bool LinuxIdleMonitor::isAvailable() { return chosen()->isAvailable(); }

void LinuxIdleMonitor::watch(double seconds, std::function<void()> idle, std::function<void()> active) {
    chosen()->watch(seconds, std::move(idle), std::move(active));
}

void LinuxIdleMonitor::stop() { chosen()->stop(); }

} // namespace orrelith::platform
