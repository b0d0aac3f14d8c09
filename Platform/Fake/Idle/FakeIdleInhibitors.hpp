#pragma once

#include "Platform/Fake/System/FakeMainQueue.hpp"
#include "Platform/Idle/IdleInhibitors.hpp"

#include <memory>
#include <vector>

namespace orrelith::platform {

// Requests held off by the test: `hold` and `release` change the answer and report it on a later turn.
class FakeIdleInhibitors : public IdleInhibitors, public std::enable_shared_from_this<FakeIdleInhibitors> {
public:
    explicit FakeIdleInhibitors(std::shared_ptr<FakeMainQueue> queue) : queue_(std::move(queue)) {}

    void start(std::function<void()> changed) override { changed_ = std::move(changed); }
    bool isInhibited() const override { return holds_ > 0; }
    void setActive(bool active) override { activeCalls.push_back(active); }

    void hold();
    void release();

    std::vector<bool> activeCalls;

private:
    void reportLater();

    std::shared_ptr<FakeMainQueue> queue_;
    std::function<void()> changed_;
    int holds_ = 0;
};

} // namespace orrelith::platform
