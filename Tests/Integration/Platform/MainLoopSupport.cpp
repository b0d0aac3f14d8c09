#include "MainLoopSupport.hpp"

#include <glib.h>

bool pumpUntil(const std::function<bool()>& done, double seconds) {
    gint64 end = g_get_monotonic_time() + static_cast<gint64>(seconds * 1e6);
    while (!done() && g_get_monotonic_time() < end)
        if (!g_main_context_iteration(nullptr, FALSE))
            g_usleep(1000);
    return done();
}

void pumpFor(double seconds) {
    pumpUntil([] { return false; }, seconds);
}
