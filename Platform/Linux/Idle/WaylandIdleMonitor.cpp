#include "Platform/Linux/Idle/WaylandIdleMonitor.hpp"

#include "Platform/Linux/System/GlibSources.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include <ext-idle-notify-v1-client-protocol.h>
#include <glib-unix.h>
#include <idle-client-protocol.h>
#include <wayland-client.h>

namespace orrelith::platform {

namespace {

// What the compositor offers that idleness needs.
struct Globals {
    wl_seat* seat = nullptr;
    ext_idle_notifier_v1* notifier = nullptr;
    org_kde_kwin_idle* kdeIdle = nullptr;
};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals->seat)
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0 && !globals->notifier)
        globals->notifier =
            static_cast<ext_idle_notifier_v1*>(wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0 && !globals->kdeIdle)
        globals->kdeIdle =
            static_cast<org_kde_kwin_idle*>(wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
}

void globalRemoved(void*, wl_registry*, uint32_t) {}

const wl_registry_listener registryListener{global, globalRemoved};

// The listeners' data is the monitor, which releases their objects before it goes.
const ext_idle_notification_v1_listener notificationListener{
    [](void* self, ext_idle_notification_v1*) { static_cast<WaylandIdleMonitor*>(self)->reported(true); },
    [](void* self, ext_idle_notification_v1*) { static_cast<WaylandIdleMonitor*>(self)->reported(false); }};

const org_kde_kwin_idle_timeout_listener kdeTimeoutListener{
    [](void* self, org_kde_kwin_idle_timeout*) { static_cast<WaylandIdleMonitor*>(self)->reported(true); },
    [](void* self, org_kde_kwin_idle_timeout*) { static_cast<WaylandIdleMonitor*>(self)->reported(false); }};

} // namespace

struct WaylandIdleMonitor::Connection {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    Globals globals;
    ext_idle_notification_v1* notification = nullptr;
    org_kde_kwin_idle_timeout* kdeTimeout = nullptr;
    guint watch = 0;
};

WaylandIdleMonitor::WaylandIdleMonitor() = default;

WaylandIdleMonitor::~WaylandIdleMonitor() {
    if (!wayland_)
        return;
    releaseNotification();
    if (wayland_->watch)
        g_source_remove(wayland_->watch);
    auto& globals = wayland_->globals;
    if (globals.notifier)
        ext_idle_notifier_v1_destroy(globals.notifier);
    if (globals.kdeIdle)
        org_kde_kwin_idle_destroy(globals.kdeIdle);
    if (globals.seat)
        wl_seat_destroy(globals.seat);
    wl_registry_destroy(wayland_->registry);
    wl_display_flush(wayland_->display);
    wl_display_disconnect(wayland_->display);
}

bool WaylandIdleMonitor::connect() {
    if (std::exchange(tried_, true))
        return wayland_ != nullptr;
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return false;
    auto connection = std::make_unique<Connection>();
    connection->display = display;
    connection->registry = wl_display_get_registry(display);
    wl_registry_add_listener(connection->registry, &registryListener, &connection->globals);
    wl_display_roundtrip(display);
    wayland_ = std::move(connection);
    auto& globals = wayland_->globals;
    if (!globals.seat || (!globals.notifier && !globals.kdeIdle))
        return false;
    // The watch ends in the destructor, before `this` goes.
    wayland_->watch = g_unix_fd_add(
        wl_display_get_fd(display), GIOCondition(G_IO_IN | G_IO_ERR | G_IO_HUP),
        [](gint, GIOCondition condition, gpointer self) -> gboolean {
            auto* monitor = static_cast<WaylandIdleMonitor*>(self);
            if (condition & (G_IO_ERR | G_IO_HUP)) {
                monitor->wayland_->watch = 0;
                return G_SOURCE_REMOVE;
            }
            glib::runGuarded([monitor] { monitor->readEvents(); }, "idle events");
            return G_SOURCE_CONTINUE;
        },
        this);
    return true;
}

bool WaylandIdleMonitor::isAvailable() { return connect() && wayland_->watch; }

void WaylandIdleMonitor::watch(double seconds, std::function<void()> idle, std::function<void()> active) {
    if (!isAvailable())
        return;
    releaseNotification();
    reports_.begin(std::move(idle), std::move(active));
    auto milliseconds = static_cast<uint32_t>(std::clamp(std::llround(seconds * 1000), 1LL, 0xffffffffLL));
    auto& globals = wayland_->globals;
    if (globals.notifier) {
        wayland_->notification =
            ext_idle_notifier_v1_get_idle_notification(globals.notifier, milliseconds, globals.seat);
        ext_idle_notification_v1_add_listener(wayland_->notification, &notificationListener, this);
    } else {
        wayland_->kdeTimeout = org_kde_kwin_idle_get_idle_timeout(globals.kdeIdle, globals.seat, milliseconds);
        org_kde_kwin_idle_timeout_add_listener(wayland_->kdeTimeout, &kdeTimeoutListener, this);
    }
    wl_display_flush(wayland_->display);
}

void WaylandIdleMonitor::stop() {
    reports_.end();
    if (wayland_) {
        releaseNotification();
        wl_display_flush(wayland_->display);
    }
}

void WaylandIdleMonitor::releaseNotification() {
    if (wayland_->notification)
        ext_idle_notification_v1_destroy(std::exchange(wayland_->notification, nullptr));
    if (wayland_->kdeTimeout)
        org_kde_kwin_idle_timeout_release(std::exchange(wayland_->kdeTimeout, nullptr));
}

void WaylandIdleMonitor::readEvents() {
    if (wl_display_dispatch(wayland_->display) < 0)
        return;
    wl_display_flush(wayland_->display);
}

// Inside the protocol's dispatch: the report itself comes on a later turn.
void WaylandIdleMonitor::reported(bool idle) { reports_.reportLater(idle); }

} // namespace orrelith::platform
