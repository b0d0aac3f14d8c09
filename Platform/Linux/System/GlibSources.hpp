#pragma once

#include <functional>

#include <glib.h>

namespace orrelith::platform::glib {

// A GLib source on the default context that becomes ready at a monotonic time (microseconds, the clock of
// g_get_monotonic_time) and calls `fire` each time. `fire` returns the next ready time, or a negative
// number to end the source. The returned source is attached and carries one reference for the caller.
GSource* attachTimedSource(gint64 readyTime, std::function<gint64()> fire);

// Stops the source and drops its function (and what that holds) at once; safe from inside `fire` and more
// than once. The caller still releases its reference.
void detachTimedSource(GSource* source);

// Runs `work`, catching whatever it throws: nothing may unwind through a C callback.
void runGuarded(const std::function<void()>& work, const char* what);

gint64 secondsToMicroseconds(double seconds);

} // namespace orrelith::platform::glib
