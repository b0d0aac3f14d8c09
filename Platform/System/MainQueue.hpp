#pragma once

#include <functional>
#include <memory>

namespace orrelith::platform {

// A repeating timer on the main run loop. The first tick comes one period after scheduling, then one
// every period, measured from the schedule (ticks do not drift by the time their handlers take).
// The run loop keeps a scheduled timer alive until it is invalidated, whoever else holds it.
class RepeatingTimer {
public:
    virtual ~RepeatingTimer() = default;
    // Stops all further ticks. Safe to call from inside the tick and more than once.
    virtual void invalidate() = 0;
    virtual bool isValid() const = 0;
    virtual double period() const = 0;
};

// A timer source on the main queue. Configure with setEventHandler and schedule, then resume. The first
// firing comes `deadline` seconds after resume (0 means: on a later turn, never synchronously inside
// resume), then every `interval` seconds counted from that first deadline. Cancel is final.
class DispatchTimer {
public:
    virtual ~DispatchTimer() = default;
    virtual void setEventHandler(std::function<void()> handler) = 0;
    virtual void schedule(double deadline, double interval, double leeway) = 0;
    virtual void resume() = 0;
    // Stops all further firings. Safe to call from inside the handler and more than once.
    virtual void cancel() = 0;
    virtual bool isCancelled() const = 0;
};

// The only way the system defers work. Everything runs on the main thread; none of these calls ever runs
// its work synchronously. Work and timers run in the order of their due times, and work due at the same
// time in the order it was queued. May be called from other threads only through `async`.
// A resumed dispatch timer is kept alive by the queue until it is cancelled (or, without an interval,
// has fired once).
class MainQueue {
public:
    virtual ~MainQueue() = default;
    // Runs `work` on a later turn of the main queue. Thread-safe.
    virtual void async(std::function<void()> work) = 0;
    // Runs `work` once, `seconds` from now.
    virtual void asyncAfter(double seconds, std::function<void()> work) = 0;
    // Schedules a repeating timer on the main run loop; `tick` runs every `period` seconds until invalidated.
    virtual std::shared_ptr<RepeatingTimer> scheduleRepeating(double period, std::function<void()> tick) = 0;
    // A new, suspended dispatch timer on the main queue.
    virtual std::shared_ptr<DispatchTimer> makeDispatchTimer() = 0;
};

} // namespace orrelith::platform
