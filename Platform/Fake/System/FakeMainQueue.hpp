#pragma once

#include "Platform/System/MainQueue.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orrelith::platform {

// The main queue on a virtual clock. Nothing runs until a test advances the clock: advanceBy runs every
// piece of work and every timer firing that falls due, in time order (work due at the same instant in the
// order it was queued), with now() set to each one's due time while it runs. Time is kept in whole
// nanoseconds, so a delay of 0.8 s falls due at 0.8 s and not at 0.79 s. Single-threaded; not reentrant.
class FakeMainQueue : public MainQueue {
public:
    struct Record {
        std::size_t asyncCalls = 0;
        std::vector<double> asyncAfterDelays;
        std::vector<double> repeatingPeriods;
        std::size_t dispatchTimersMade = 0;
    };

    FakeMainQueue();
    ~FakeMainQueue() override;

    void async(std::function<void()> work) override;
    void asyncAfter(double seconds, std::function<void()> work) override;
    std::shared_ptr<RepeatingTimer> scheduleRepeating(double period, std::function<void()> tick) override;
    std::shared_ptr<DispatchTimer> makeDispatchTimer() override;

    // Seconds since the queue was made.
    double now() const;
    // Runs everything due within the next `seconds`, then leaves the clock at now + seconds.
    void advanceBy(double seconds);
    // Runs everything due at the current instant, including work that it queues for the same instant.
    void runUntilIdle();
    // The due time of the earliest pending item, if any.
    std::optional<double> nextDueTime() const;
    // Items waiting in the queue: work, and the next firing of each live timer.
    std::size_t pendingCount() const;
    // Live repeating timers and resumed, uncancelled dispatch timers.
    std::size_t liveTimerCount() const;
    const Record& record() const { return record_; }

    // Clock in nanoseconds; used by the queue's own timers.
    std::int64_t nowNanoseconds() const { return now_; }
    void enqueue(std::int64_t due, std::function<void()> work);

private:
    struct Item {
        std::int64_t due;
        std::uint64_t sequence;
        std::function<void()> work;
    };
    bool runNextDueBy(std::int64_t limit);

    std::int64_t now_ = 0;
    std::uint64_t sequence_ = 0;
    std::vector<Item> items_;
    Record record_;
    struct TimerBook;
    std::shared_ptr<TimerBook> timers_;
    friend class FakeTimerSource;
};

std::int64_t toNanoseconds(double seconds);

} // namespace orrelith::platform
