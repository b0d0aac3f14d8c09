#pragma once

#include "Platform/System/MainQueue.hpp"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace orrelith::platform {

// A main queue for tests of code whose threads post work: `async` may be called from any thread, and the
// test runs what arrived on its own thread with `runPosted`. Timers are not offered.
class TestQueue : public MainQueue {
public:
    void async(std::function<void()> work) override {
        {
            std::lock_guard lock(mutex_);
            work_.push_back(std::move(work));
        }
        arrived_.notify_all();
    }
    void asyncAfter(double, std::function<void()>) override { unsupported(); }
    std::shared_ptr<RepeatingTimer> scheduleRepeating(double, std::function<void()>) override {
        unsupported();
        return nullptr;
    }
    std::shared_ptr<DispatchTimer> makeDispatchTimer() override {
        unsupported();
        return nullptr;
    }

    // Waits up to `patience` for work to arrive, then runs all that has arrived. Answers how much ran.
    std::size_t runPosted(std::chrono::milliseconds patience) {
        std::deque<std::function<void()>> ready;
        {
            std::unique_lock lock(mutex_);
            arrived_.wait_for(lock, patience, [this] { return !work_.empty(); });
            ready.swap(work_);
        }
        for (auto& work : ready)
            work();
        return ready.size();
    }

private:
    static void unsupported() { throw std::logic_error("TestQueue offers async only"); }

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> work_;
};

} // namespace orrelith::platform
