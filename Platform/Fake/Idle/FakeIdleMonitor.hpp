#pragma once

#include "Platform/Fake/System/FakeMainQueue.hpp"
#include "Platform/Idle/IdleMonitor.hpp"

#include <memory>
#include <vector>

namespace orrelith::platform {

// The user's idleness on the fake queue's virtual clock. The user last acted when the monitor was made,
// and again at each `userActs`. Reports come as queued work.
class FakeIdleMonitor : public IdleMonitor, public std::enable_shared_from_this<FakeIdleMonitor> {
public:
    struct Record {
        std::vector<double> watches;
        int stops = 0;
    };

    explicit FakeIdleMonitor(std::shared_ptr<FakeMainQueue> queue);

    bool isAvailable() override { return available; }
    void watch(double seconds, std::function<void()> idle, std::function<void()> active) override;
    void stop() override;

    // The user presses a key or moves the pointer now.
    void userActs();
    const Record& record() const { return record_; }

    bool available = true;

private:
    void scheduleIdle();

    std::shared_ptr<FakeMainQueue> queue_;
    Record record_;
    double lastActivity_;
    double seconds_ = 0;
    std::function<void()> idle_;
    std::function<void()> active_;
    bool watching_ = false;
    bool reportedIdle_ = false;
    // Tells a scheduled idle report from the ones a later activity or watch made stale.
    unsigned generation_ = 0;
};

} // namespace orrelith::platform
