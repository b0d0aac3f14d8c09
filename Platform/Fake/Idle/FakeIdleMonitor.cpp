#include "Platform/Fake/Idle/FakeIdleMonitor.hpp"

#include <algorithm>
#include <utility>

namespace orrelith::platform {

FakeIdleMonitor::FakeIdleMonitor(std::shared_ptr<FakeMainQueue> queue)
    : queue_(std::move(queue)), lastActivity_(queue_->now()) {}

void FakeIdleMonitor::watch(double seconds, std::function<void()> idle, std::function<void()> active) {
    record_.watches.push_back(seconds);
    seconds_ = seconds;
    idle_ = std::move(idle);
    active_ = std::move(active);
    watching_ = available;
    reportedIdle_ = false;
    scheduleIdle();
}

void FakeIdleMonitor::stop() {
    ++record_.stops;
    watching_ = false;
    ++generation_;
}

void FakeIdleMonitor::userActs() {
    lastActivity_ = queue_->now();
    if (!watching_)
        return;
    if (std::exchange(reportedIdle_, false)) {
        std::weak_ptr<FakeIdleMonitor> weak = weak_from_this();
        queue_->async([weak] {
            if (auto self = weak.lock(); self && self->watching_ && self->active_)
                self->active_();
        });
    }
    scheduleIdle();
}

void FakeIdleMonitor::scheduleIdle() {
    unsigned generation = ++generation_;
    if (!watching_)
        return;
    double delay = std::max(0.0, lastActivity_ + seconds_ - queue_->now());
    std::weak_ptr<FakeIdleMonitor> weak = weak_from_this();
    queue_->asyncAfter(delay, [weak, generation] {
        auto self = weak.lock();
        if (!self || !self->watching_ || generation != self->generation_ || self->reportedIdle_)
            return;
        self->reportedIdle_ = true;
        if (self->idle_)
            self->idle_();
    });
}

} // namespace orrelith::platform
