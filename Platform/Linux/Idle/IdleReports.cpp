#include "Platform/Linux/Idle/IdleReports.hpp"

#include "Platform/Linux/System/GlibSources.hpp"

#include <glib.h>

namespace orrelith::platform {

void IdleReports::begin(std::function<void()> idle, std::function<void()> active) {
    ++watch_->generation;
    watch_->idle = std::move(idle);
    watch_->active = std::move(active);
}

void IdleReports::end() { begin(nullptr, nullptr); }

void IdleReports::reportLater(bool idle) const {
    std::weak_ptr<Watch> weak = watch_;
    unsigned generation = watch_->generation;
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            glib::runGuarded(*static_cast<std::function<void()>*>(data), "idle report");
            return G_SOURCE_REMOVE;
        },
        new std::function<void()>([weak, generation, idle] {
            auto watch = weak.lock();
            if (!watch || generation != watch->generation)
                return;
            auto report = idle ? watch->idle : watch->active;
            if (report)
                report();
        }),
        [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

} // namespace orrelith::platform
