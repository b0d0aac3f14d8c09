#include "Platform/Linux/Idle/LinuxIdleMonitor.hpp"

#include "Platform/Linux/Idle/XSyncIdleMonitor.hpp"

namespace orrelith::platform {

IdleMonitor* LinuxIdleMonitor::chosen() {
    if (!chosen_)
        chosen_ = std::make_shared<XSyncIdleMonitor>();
    return chosen_.get();
}

bool LinuxIdleMonitor::isAvailable() { return chosen()->isAvailable(); }

void LinuxIdleMonitor::watch(double seconds, std::function<void()> idle, std::function<void()> active) {
    chosen()->watch(seconds, std::move(idle), std::move(active));
}

void LinuxIdleMonitor::stop() { chosen()->stop(); }

} // namespace orrelith::platform
