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

TEST(FakeMainQueue, DelayedWorkRunsAtItsInstantAndNotBefore) {
    FakeMainQueue queue;
    Log log{queue, {}};
    queue.asyncAfter(0.8, log.note("fade"));
    queue.advanceBy(0.79);
    EXPECT_TRUE(log.entries.empty());
    queue.advanceBy(0.01);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_DOUBLE_EQ(log.entries[0].second, 0.8);
}

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

TEST(FakeMainQueue, WorkQueuedByWorkForTheSameInstantRunsInRunUntilIdle) {
    FakeMainQueue queue;
    Log log{queue, {}};
    queue.async([&] {
        log.note("outer")();
        queue.async(log.note("inner"));
    });
    queue.runUntilIdle();
    EXPECT_EQ(log.names(), (std::vector<std::string>{"outer", "inner"}));
    EXPECT_EQ(queue.now(), 0);
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

TEST(FakeMainQueue, ScheduledTimerLivesWithoutOtherOwners) {
    FakeMainQueue queue;
    int ticks = 0;
    queue.scheduleRepeating(1, [&] { ++ticks; });
    queue.advanceBy(3);
    EXPECT_EQ(ticks, 3);
}

TEST(FakeMainQueue, DispatchTimerWithDeadlineZeroFiresOnALaterTurn) {
    FakeMainQueue queue;
    int firings = 0;
    auto timer = queue.makeDispatchTimer();
    timer->setEventHandler([&] { ++firings; });
    timer->schedule(0, 1.0 / 30, 0);
    timer->resume();
    EXPECT_EQ(firings, 0) << "never inside resume";
    queue.runUntilIdle();
    EXPECT_EQ(firings, 1);
    queue.advanceBy(1.0);
    EXPECT_EQ(firings, 31) << "30 more firings in the next second";
    timer->cancel();
    queue.advanceBy(1.0);
    EXPECT_EQ(firings, 31);
    EXPECT_EQ(queue.liveTimerCount(), 0u);
}

TEST(FakeMainQueue, DispatchTimerWithoutIntervalFiresOnce) {
    FakeMainQueue queue;
    int firings = 0;
    auto timer = queue.makeDispatchTimer();
    timer->setEventHandler([&] { ++firings; });
    timer->schedule(1.0, 0, 0);
    timer->resume();
    queue.advanceBy(0.999999999);
    EXPECT_EQ(firings, 0);
    queue.advanceBy(10);
    EXPECT_EQ(firings, 1);
}

TEST(FakeMainQueue, TimersAndDelaysInterleaveInTimeOrder) {
    FakeMainQueue queue;
    Log log{queue, {}};
    auto repeating = queue.scheduleRepeating(0.25, log.note("shuffle"));
    auto watchdog = queue.makeDispatchTimer();
    watchdog->setEventHandler(log.note("watchdog"));
    watchdog->schedule(0.4, 0.4, 0);
    watchdog->resume();
    queue.asyncAfter(0.3, log.note("delay"));
    queue.advanceBy(0.8);
    EXPECT_EQ(log.names(), (std::vector<std::string>{"shuffle", "delay", "watchdog", "shuffle", "shuffle",
                                                     "watchdog"}));
    EXPECT_DOUBLE_EQ(log.entries[2].second, 0.4);
}

TEST(FakeMainQueue, NextDueTimeAndPendingCountDescribeTheQueue) {
    FakeMainQueue queue;
    EXPECT_FALSE(queue.nextDueTime());
    queue.asyncAfter(2, [] {});
    queue.asyncAfter(1, [] {});
    EXPECT_EQ(queue.pendingCount(), 2u);
    EXPECT_DOUBLE_EQ(*queue.nextDueTime(), 1.0);
    EXPECT_EQ(queue.record().asyncAfterDelays, (std::vector<double>{2, 1}));
}
