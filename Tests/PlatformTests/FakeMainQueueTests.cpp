#include "Platform/Fake/System/FakeMainQueue.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orrelith::platform;

namespace {

struct Log {
    FakeMainQueue& queue;
    std::vector<std::pair<std::string, double>> entries;
    std::function<void()> note(std::string what) {
        return [this, what] { entries.emplace_back(what, queue.now()); };
    }
    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (auto& entry : entries)
            result.push_back(entry.first);
        return result;
    }
};

} // namespace

TEST(FakeMainQueue, WorkRunsInTimeOrderAndSameInstantInQueueOrder) {
    FakeMainQueue queue;
    Log log{queue, {}};
    queue.asyncAfter(0.5, log.note("late"));
    queue.asyncAfter(0.2, log.note("early"));
    queue.async(log.note("now-1"));
    queue.asyncAfter(0, log.note("now-2"));
    queue.asyncAfter(0.2, log.note("early-2"));
    EXPECT_TRUE(log.entries.empty()) << "nothing runs inside the calls";
    queue.advanceBy(1);
    EXPECT_EQ(log.names(), (std::vector<std::string>{"now-1", "now-2", "early", "early-2", "late"}));
}

TEST(FakeMainQueue, RepeatingTimerTicksEveryPeriodWithoutDrift) {
    FakeMainQueue queue;
    Log log{queue, {}};
    auto timer = queue.scheduleRepeating(0.1, log.note("tick"));
    queue.advanceBy(0.3);
    ASSERT_EQ(log.entries.size(), 3u) << "ticks at 0.1, 0.2 and exactly 0.3";
    queue.advanceBy(99.7);
    ASSERT_EQ(log.entries.size(), 1000u);
    EXPECT_DOUBLE_EQ(log.entries.back().second, 100.0);
}

TEST(FakeMainQueue, InvalidatingInsideATickStopsTheTimer) {
    FakeMainQueue queue;
    int ticks = 0;
    std::shared_ptr<RepeatingTimer> timer;
    timer = queue.scheduleRepeating(1, [&] {
        if (++ticks == 2)
            timer->invalidate();
    });
    queue.advanceBy(10);
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(timer->isValid());
    EXPECT_EQ(queue.liveTimerCount(), 0u);
}

