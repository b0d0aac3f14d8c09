#include "Platform/Linux/Idle/MutterIdleMonitor.hpp"

#include "Platform/Linux/System/DBusConnector.hpp"
#include "Platform/Linux/System/GlibSources.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace orrelith::platform {

namespace {

constexpr const char* objectPath = "/org/gnome/Mutter/IdleMonitor/Core";
constexpr const char* interfaceName = "org.gnome.Mutter.IdleMonitor";

// Fire and forget: the call holds the connection until it is done.
void removeWatch(GDBusConnection* bus, guint32 id) {
    g_dbus_connection_call(bus, MutterIdleMonitor::busName, objectPath, interfaceName, "RemoveWatch",
                           g_variant_new("(u)", id), nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START, -1, nullptr,
                           nullptr, nullptr);
}

void watchFiredSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                      GVariant* parameters, gpointer self) {
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(u)")))
        return;
    guint32 id = 0;
    g_variant_get(parameters, "(u)", &id);
    glib::runGuarded([&] { static_cast<MutterIdleMonitor*>(self)->watchFired(id); }, "idle watch");
}

void nameAppeared(GDBusConnection*, const gchar*, const gchar*, gpointer self) {
    glib::runGuarded([self] { static_cast<MutterIdleMonitor*>(self)->appeared(); }, "idle monitor appeared");
}

void nameVanished(GDBusConnection*, const gchar*, gpointer self) {
    glib::runGuarded([self] { static_cast<MutterIdleMonitor*>(self)->vanished(); }, "idle monitor vanished");
}

} // namespace

std::shared_ptr<MutterIdleMonitor> MutterIdleMonitor::create() {
    auto monitor = std::shared_ptr<MutterIdleMonitor>(new MutterIdleMonitor());
    monitor->start();
    return monitor;
}

MutterIdleMonitor::MutterIdleMonitor() : cancellable_(g_cancellable_new()) {}

MutterIdleMonitor::~MutterIdleMonitor() {
    g_cancellable_cancel(cancellable_);
    g_object_unref(cancellable_);
    if (!bus_)
        return;
    removeWatches();
    g_dbus_connection_signal_unsubscribe(bus_, fired_);
    g_bus_unwatch_name(nameWatch_);
    g_object_unref(bus_);
}

void MutterIdleMonitor::start() {
    std::weak_ptr<MutterIdleMonitor> weak = weak_from_this();
    DBusConnector::connect(DBusConnector::Bus::Session, cancellable_, [weak](GDBusConnection* bus) {
        auto self = weak.lock();
        if (self && bus)
            self->connected(bus);
        else if (bus)
            g_object_unref(bus);
        else if (self)
            self->presence_ = Presence::Absent;
    });
}

// Both subscriptions end in the destructor, before `this` goes.
void MutterIdleMonitor::connected(GDBusConnection* bus) {
    bus_ = bus;
    fired_ =
        g_dbus_connection_signal_subscribe(bus_, busName, interfaceName, "WatchFired", objectPath, nullptr,
                                           G_DBUS_SIGNAL_FLAGS_NONE, watchFiredSignal, this, nullptr);
    nameWatch_ = g_bus_watch_name_on_connection(bus_, busName, G_BUS_NAME_WATCHER_FLAGS_NONE, nameAppeared,
                                                nameVanished, this, nullptr);
}

bool MutterIdleMonitor::isAvailable() {
    return presence_ != Presence::Absent;
}

void MutterIdleMonitor::watch(double seconds, std::function<void()> idle, std::function<void()> active) {
    removeWatches();
    ++generation_;
    reports_.begin(std::move(idle), std::move(active));
    interval_ = static_cast<guint64>(std::max(std::llround(seconds * 1000), 1LL));
    if (presence_ == Presence::Present)
        addIdleWatch();
}

void MutterIdleMonitor::stop() {
    removeWatches();
    ++generation_;
    reports_.end();
    interval_.reset();
}

void MutterIdleMonitor::appeared() {
    presence_ = Presence::Present;
    if (interval_ && !idleId_)
        addIdleWatch();
}

// The monitor's watches went with it.
void MutterIdleMonitor::vanished() {
    presence_ = Presence::Absent;
    ++generation_;
    idleId_ = activeId_ = 0;
    idleReported_ = false;
}

void MutterIdleMonitor::watchFired(guint32 id) {
    if (id == 0)
        return;
    if (id == idleId_ && !idleReported_) {
        idleReported_ = true;
        reports_.reportLater(true);
        addActiveWatch();
    } else if (id == activeId_) {
        // A user-active watch fires once and is gone.
        activeId_ = 0;
        idleReported_ = false;
        reports_.reportLater(false);
    }
}

void MutterIdleMonitor::addIdleWatch() {
    call("AddIdleWatch", g_variant_new("(t)", *interval_),
         [](MutterIdleMonitor& self, GVariant* reply) { g_variant_get(reply, "(u)", &self.idleId_); });
}

void MutterIdleMonitor::addActiveWatch() {
    call("AddUserActiveWatch", nullptr,
         [](MutterIdleMonitor& self, GVariant* reply) { g_variant_get(reply, "(u)", &self.activeId_); });
}

void MutterIdleMonitor::removeWatches() {
    for (guint32* id : {&idleId_, &activeId_})
        if (*id && bus_)
            removeWatch(bus_, *id);
    idleId_ = activeId_ = 0;
    idleReported_ = false;
}

void MutterIdleMonitor::call(const char* method, GVariant* parameters, Reply replied) {
    struct Pending {
        std::weak_ptr<MutterIdleMonitor> monitor;
        unsigned generation;
        Reply replied;
    };
    g_dbus_connection_call(
        bus_, busName, objectPath, interfaceName, method, parameters, G_VARIANT_TYPE("(u)"),
        G_DBUS_CALL_FLAGS_NO_AUTO_START, -1, cancellable_,
        [](GObject* bus, GAsyncResult* result, gpointer data) {
            auto* pending = static_cast<Pending*>(data);
            GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, nullptr);
            auto self = pending->monitor.lock();
            if (reply && self && self->generation_ == pending->generation)
                glib::runGuarded([&] { pending->replied(*self, reply); }, "idle monitor reply");
            else if (reply && self) {
                // A watch made for an earlier request: the monitor keeps it until told.
                guint32 id = 0;
                g_variant_get(reply, "(u)", &id);
                removeWatch(G_DBUS_CONNECTION(bus), id);
            }
            if (reply)
                g_variant_unref(reply);
            delete pending;
        },
        new Pending{weak_from_this(), generation_, std::move(replied)});
}

} // namespace orrelith::platform
