#include "Platform/Fake/System/FakeMainQueue.hpp"

#include <algorithm>
#include <cmath>
#include <set>

namespace orrelith::platform {

std::int64_t toNanoseconds(double seconds) { return std::llround(seconds * 1e9); }

struct FakeMainQueue::TimerBook {
    std::set<const void*> live;
};

namespace {

// Firing k of a periodic schedule, computed from its start so that rounding never accumulates.
std::int64_t firingTime(std::int64_t start, double interval, std::uint64_t k) {
    return start + toNanoseconds(interval * static_cast<double>(k));
}

} // namespace

// What both kinds of timer share: firing k comes at start + k * interval (without an interval only the
// first firing comes), and the queue holds the timer until it is stopped, as a run loop does.
class FakeTimerSource : public std::enable_shared_from_this<FakeTimerSource> {
public:
    explicit FakeTimerSource(FakeMainQueue& queue) : queue_(queue), book_(queue.timers_) {}
    virtual ~FakeTimerSource() { forget(); }

protected:
    void arm(std::int64_t start, double interval, std::uint64_t first) {
        start_ = start;
        interval_ = interval;
        book_.lock()->live.insert(this);
        scheduleFiring(first);
    }
    void stop() {
        stopped_ = true;
        forget();
    }
    bool stopped() const { return stopped_; }
    virtual void fire() = 0;
    FakeMainQueue& queue_;

private:
    void forget() {
        if (auto book = book_.lock())
            book->live.erase(this);
    }
    void scheduleFiring(std::uint64_t k) {
        auto self = shared_from_this();
        queue_.enqueue(firingTime(start_, interval_, k), [self, k] {
            if (self->stopped_)
                return;
            if (self->interval_ > 0)
                self->scheduleFiring(k + 1);
            else
                self->forget();
            self->fire();
        });
    }

    std::weak_ptr<FakeMainQueue::TimerBook> book_;
    std::int64_t start_ = 0;
    double interval_ = 0;
    bool stopped_ = false;
};

class FakeRepeatingTimer : public RepeatingTimer, public FakeTimerSource {
public:
    FakeRepeatingTimer(FakeMainQueue& queue, double period, std::function<void()> tick)
        : FakeTimerSource(queue), period_(period), tick_(std::move(tick)) {}

    void arm() { FakeTimerSource::arm(queue_.nowNanoseconds(), period_, 1); }
    void invalidate() override { stop(); }
    bool isValid() const override { return !stopped(); }
    double period() const override { return period_; }

private:
    void fire() override {
        auto tick = tick_;
        tick();
    }

    double period_;
    std::function<void()> tick_;
};

class FakeDispatchTimer : public DispatchTimer, public FakeTimerSource {
public:
    using FakeTimerSource::FakeTimerSource;

    void setEventHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
    void schedule(double deadline, double interval, double) override {
        deadline_ = deadline;
        interval_ = interval;
    }
    void resume() override {
        if (resumed_ || stopped())
            return;
        resumed_ = true;
        arm(queue_.nowNanoseconds() + toNanoseconds(std::max(0.0, deadline_)), interval_, 0);
    }
    void cancel() override { stop(); }
    bool isCancelled() const override { return stopped(); }

private:
    void fire() override {
        auto handler = handler_;
        if (handler)
            handler();
    }

    std::function<void()> handler_;
    double deadline_ = 0;
    double interval_ = 0;
    bool resumed_ = false;
};

FakeMainQueue::FakeMainQueue() : timers_(std::make_shared<TimerBook>()) {}
FakeMainQueue::~FakeMainQueue() = default;

void FakeMainQueue::enqueue(std::int64_t due, std::function<void()> work) {
    items_.push_back({std::max(due, now_), sequence_++, std::move(work)});
}

void FakeMainQueue::async(std::function<void()> work) {
    ++record_.asyncCalls;
    enqueue(now_, std::move(work));
}

void FakeMainQueue::asyncAfter(double seconds, std::function<void()> work) {
    record_.asyncAfterDelays.push_back(seconds);
    enqueue(now_ + toNanoseconds(std::max(0.0, seconds)), std::move(work));
}

std::shared_ptr<RepeatingTimer> FakeMainQueue::scheduleRepeating(double period, std::function<void()> tick) {
    record_.repeatingPeriods.push_back(period);
    auto timer = std::make_shared<FakeRepeatingTimer>(*this, period, std::move(tick));
    timer->arm();
    return timer;
}

std::shared_ptr<DispatchTimer> FakeMainQueue::makeDispatchTimer() {
    ++record_.dispatchTimersMade;
    return std::make_shared<FakeDispatchTimer>(*this);
}

double FakeMainQueue::now() const { return static_cast<double>(now_) / 1e9; }

bool FakeMainQueue::runNextDueBy(std::int64_t limit) {
    auto earliest = std::min_element(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
        return a.due != b.due ? a.due < b.due : a.sequence < b.sequence;
    });
    if (earliest == items_.end() || earliest->due > limit)
        return false;
    Item item = std::move(*earliest);
    items_.erase(earliest);
    now_ = std::max(now_, item.due);
    item.work();
    return true;
}

void FakeMainQueue::advanceBy(double seconds) {
    std::int64_t target = now_ + toNanoseconds(std::max(0.0, seconds));
    while (runNextDueBy(target)) {
    }
    now_ = target;
}

void FakeMainQueue::runUntilIdle() {
    while (runNextDueBy(now_)) {
    }
}

std::optional<double> FakeMainQueue::nextDueTime() const {
    if (items_.empty())
        return std::nullopt;
    auto earliest = std::min_element(items_.begin(), items_.end(),
                                     [](const Item& a, const Item& b) { return a.due < b.due; });
    return static_cast<double>(earliest->due) / 1e9;
}

std::size_t FakeMainQueue::pendingCount() const { return items_.size(); }

std::size_t FakeMainQueue::liveTimerCount() const { return timers_->live.size(); }

} // namespace orrelith::platform
