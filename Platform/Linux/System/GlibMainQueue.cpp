#include "Platform/Linux/System/GlibMainQueue.hpp"

#include "Platform/Linux/System/GlibSources.hpp"

#include <algorithm>
#include <cmath>

namespace orrelith::platform {

using glib::attachTimedSource;
using glib::detachTimedSource;
using glib::secondsToMicroseconds;

namespace {

// The k-th firing of a schedule that starts at `start`, the first k past `now` when firings were missed.
struct Schedule {
    gint64 start = 0;
    gint64 period = 0;
    gint64 k = 0;

    gint64 next(gint64 now) {
        ++k;
        if (period <= 0)
            return -1;
        gint64 due = start + k * period;
        if (due <= now)
            k = (now - start) / period + 1;
        return start + k * period;
    }
};

class GlibRepeatingTimer : public RepeatingTimer, public std::enable_shared_from_this<GlibRepeatingTimer> {
public:
    GlibRepeatingTimer(double period, std::function<void()> tick) : period_(period), tick_(std::move(tick)) {}
    ~GlibRepeatingTimer() override {
        if (source_)
            g_source_unref(source_);
    }

    void arm() {
        gint64 interval = std::max<gint64>(1, secondsToMicroseconds(period_));
        Schedule schedule{g_get_monotonic_time(), interval, 0};
        // The source holds the timer until it is invalidated, as a run loop does.
        auto self = shared_from_this();
        gint64 first = schedule.start + interval;
        source_ = attachTimedSource(first, [self, schedule]() mutable {
            if (!self->valid_)
                return gint64{-1};
            auto tick = self->tick_;
            tick();
            return self->valid_ ? schedule.next(g_get_monotonic_time()) : gint64{-1};
        });
    }
    void invalidate() override {
        valid_ = false;
        detachTimedSource(source_);
    }
    bool isValid() const override { return valid_; }
    double period() const override { return period_; }

private:
    double period_;
    std::function<void()> tick_;
    GSource* source_ = nullptr;
    bool valid_ = true;
};

class GlibDispatchTimer : public DispatchTimer, public std::enable_shared_from_this<GlibDispatchTimer> {
public:
    ~GlibDispatchTimer() override {
        if (source_)
            g_source_unref(source_);
    }
    void setEventHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
    void schedule(double deadline, double interval, double) override {
        deadline_ = deadline;
        interval_ = interval;
        if (source_ && !cancelled_)
            arm();
    }
    void resume() override {
        if (source_ || cancelled_)
            return;
        arm();
    }
    void cancel() override {
        cancelled_ = true;
        detachTimedSource(source_);
    }
    bool isCancelled() const override { return cancelled_; }

private:
    void arm() {
        detachTimedSource(source_);
        if (source_)
            g_source_unref(source_);
        Schedule schedule{g_get_monotonic_time() + secondsToMicroseconds(deadline_),
                          secondsToMicroseconds(interval_), 0};
        auto self = shared_from_this();
        source_ = attachTimedSource(schedule.start, [self, schedule]() mutable {
            if (self->cancelled_)
                return gint64{-1};
            auto handler = self->handler_;
            if (handler)
                handler();
            return self->cancelled_ ? gint64{-1} : schedule.next(g_get_monotonic_time());
        });
    }

    std::function<void()> handler_;
    double deadline_ = 0;
    double interval_ = 0;
    GSource* source_ = nullptr;
    bool cancelled_ = false;
};

} // namespace

void GlibMainQueue::async(std::function<void()> work) {
    using Work = std::function<void()>;
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            glib::runGuarded(*static_cast<Work*>(data), "main-queue work");
            return G_SOURCE_REMOVE;
        },
        new Work(std::move(work)), [](gpointer data) { delete static_cast<Work*>(data); });
}

void GlibMainQueue::asyncAfter(double seconds, std::function<void()> work) {
    GSource* source = attachTimedSource(g_get_monotonic_time() + secondsToMicroseconds(seconds),
                                        [work = std::move(work)] {
                                            work();
                                            return gint64{-1};
                                        });
    g_source_unref(source);
}

std::shared_ptr<RepeatingTimer> GlibMainQueue::scheduleRepeating(double period, std::function<void()> tick) {
    auto timer = std::make_shared<GlibRepeatingTimer>(period, std::move(tick));
    timer->arm();
    return timer;
}

std::shared_ptr<DispatchTimer> GlibMainQueue::makeDispatchTimer() { return std::make_shared<GlibDispatchTimer>(); }

} // namespace orrelith::platform
