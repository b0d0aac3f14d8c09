#pragma once

#include "Platform/System/MainQueue.hpp"

namespace orrelith::platform {

// The main queue on GLib's default main context, which GTK's loop runs. Deferred work and timers are
// GLib sources at the default priority with ready times on the monotonic clock: a timer's k-th firing is
// due at its start plus k periods, so timers do not drift by the time handlers or the loop take (a firing
// that could not run in time is skipped, not run twice). Dispatch timers have no leeway on GLib; theirs is
// accepted and ignored. `async` and `asyncAfter` may be called from any thread; the rest on the main
// thread. Work runs on the thread that runs the default context. An exception escaping work is caught and
// logged: none crosses into GLib.
class GlibMainQueue : public MainQueue {
public:
    void async(std::function<void()> work) override;
    void asyncAfter(double seconds, std::function<void()> work) override;
    std::shared_ptr<RepeatingTimer> scheduleRepeating(double period, std::function<void()> tick) override;
    std::shared_ptr<DispatchTimer> makeDispatchTimer() override;
};

} // namespace orrelith::platform
