#include "Platform/Linux/System/LogindSleepWatcher.hpp"

#include "Platform/Linux/System/DBusConnector.hpp"
#include "Platform/Linux/System/GlibSources.hpp"

namespace orrelith::platform {

std::shared_ptr<LogindSleepWatcher> LogindSleepWatcher::create(std::function<void(bool)> report) {
    auto watcher = std::shared_ptr<LogindSleepWatcher>(new LogindSleepWatcher(std::move(report)));
    watcher->start();
    return watcher;
}

LogindSleepWatcher::LogindSleepWatcher(std::function<void(bool)> report)
    : report_(std::move(report)), cancellable_(g_cancellable_new()) {}

LogindSleepWatcher::~LogindSleepWatcher() {
    g_cancellable_cancel(cancellable_);
    g_object_unref(cancellable_);
    if (!bus_)
        return;
    g_dbus_connection_signal_unsubscribe(bus_, subscription_);
    g_object_unref(bus_);
}

void LogindSleepWatcher::start() {
    std::weak_ptr<LogindSleepWatcher> weak = weak_from_this();
    DBusConnector::connect(DBusConnector::Bus::System, cancellable_, [weak](GDBusConnection* bus) {
        auto self = weak.lock();
        if (self && bus)
            self->connected(bus);
        else if (bus)
            g_object_unref(bus);
    });
}

void LogindSleepWatcher::connected(GDBusConnection* bus) {
    bus_ = bus;
    // Unsubscribed in the destructor, so the raw pointer never outlives the watcher.
    subscription_ = g_dbus_connection_signal_subscribe(bus_, "org.freedesktop.login1", "org.freedesktop.login1.Manager",
                                                       "PrepareForSleep", "/org/freedesktop/login1", nullptr,
                                                       G_DBUS_SIGNAL_FLAGS_NONE, prepareForSleep, this, nullptr);
}

void LogindSleepWatcher::prepareForSleep(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                                         GVariant* parameters, gpointer data) {
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(b)")))
        return;
    gboolean sleeping = FALSE;
    g_variant_get(parameters, "(b)", &sleeping);
    auto report = static_cast<LogindSleepWatcher*>(data)->report_;
    glib::runGuarded([&] { report(sleeping != FALSE); }, "sleep report");
}

} // namespace orrelith::platform
