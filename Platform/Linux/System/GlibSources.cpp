#include "Platform/Linux/System/GlibSources.hpp"

#include <cmath>
#include <exception>

namespace orrelith::platform::glib {

namespace {

using Fire = std::function<gint64()>;

struct TimedSource {
    GSource base;
    Fire* fire;
};

void dropFire(GSource* source) {
    auto* timed = reinterpret_cast<TimedSource*>(source);
    delete timed->fire;
    timed->fire = nullptr;
}

gboolean dispatchTimed(GSource* source, GSourceFunc, gpointer) {
    auto* stored = reinterpret_cast<TimedSource*>(source)->fire;
    if (!stored)
        return G_SOURCE_REMOVE;
    // A copy: the call may detach the source, which drops the stored function.
    Fire fire = *stored;
    gint64 next = -1;
    runGuarded([&] { next = fire(); }, "timer");
    if (next < 0 || g_source_is_destroyed(source)) {
        // Drops what the function holds now rather than when the last reference to the source goes.
        dropFire(source);
        return G_SOURCE_REMOVE;
    }
    g_source_set_ready_time(source, next);
    return G_SOURCE_CONTINUE;
}

GSourceFuncs timedFuncs = {nullptr, nullptr, dispatchTimed, dropFire, nullptr, nullptr};

} // namespace

GSource* attachTimedSource(gint64 readyTime, std::function<gint64()> fire) {
    GSource* source = g_source_new(&timedFuncs, sizeof(TimedSource));
    reinterpret_cast<TimedSource*>(source)->fire = new Fire(std::move(fire));
    g_source_set_priority(source, G_PRIORITY_DEFAULT);
    g_source_set_ready_time(source, readyTime);
    g_source_attach(source, nullptr);
    return source;
}

void detachTimedSource(GSource* source) {
    if (!source)
        return;
    g_source_destroy(source);
    dropFire(source);
}

void runGuarded(const std::function<void()>& work, const char* what) {
    try {
        work();
    } catch (const std::exception& error) {
        g_warning("orrelith: %s threw: %s", what, error.what());
    } catch (...) {
        g_warning("orrelith: %s threw", what);
    }
}

gint64 secondsToMicroseconds(double seconds) {
    if (!(seconds > 0))
        return 0;
    return static_cast<gint64>(std::llround(seconds * 1e6));
}

} // namespace orrelith::platform::glib
