#include "Platform/Linux/System/MessageBusCheck.hpp"

#include "Platform/Linux/System/GlibSources.hpp"

#include <algorithm>
#include <utility>

namespace orrelith::platform {

namespace {

const char* environmentName(DBusConnector::Bus bus) {
    return bus == DBusConnector::Bus::System ? "DBUS_SYSTEM_BUS_ADDRESS" : "DBUS_SESSION_BUS_ADDRESS";
}

} // namespace

std::unique_ptr<MessageBusCheck> MessageBusCheck::start(double grace) {
    std::unique_ptr<MessageBusCheck> check(new MessageBusCheck(grace));
    for (auto bus : {DBusConnector::Bus::System, DBusConnector::Bus::Session})
        if (DBusConnector::address(bus))
            check->ask(bus);
    return check;
}

MessageBusCheck::MessageBusCheck(double grace)
    : deadline_(g_get_monotonic_time() + glib::secondsToMicroseconds(grace)), cancellable_(g_cancellable_new()) {}

MessageBusCheck::~MessageBusCheck() {
    // A question still open ends; its answer, if one comes, finds only the shared flag.
    g_cancellable_cancel(cancellable_);
    g_object_unref(cancellable_);
}

void MessageBusCheck::ask(DBusConnector::Bus bus) {
    auto answer = std::make_shared<Answer>();
    probes_.push_back({bus, answer});
    DBusConnector::connect(bus, cancellable_, [answer](GDBusConnection* connection) {
        answer->done = true;
        if (!connection)
            return;
        g_dbus_connection_close(connection, nullptr, nullptr, nullptr);
        g_object_unref(connection);
    });
}

bool MessageBusCheck::allAnswered() const {
    return std::all_of(probes_.begin(), probes_.end(), [](const Probe& probe) { return probe.answer->done; });
}

void MessageBusCheck::waitUntil(gint64 deadline) {
    bool expired = g_get_monotonic_time() >= deadline;
    guint timer = 0;
    if (!expired)
        timer = g_timeout_add_full(
            G_PRIORITY_DEFAULT, static_cast<guint>(std::max<gint64>(1, (deadline - g_get_monotonic_time()) / 1000)),
            [](gpointer flag) -> gboolean {
                *static_cast<bool*>(flag) = true;
                return G_SOURCE_REMOVE;
            },
            &expired, nullptr);
    while (!allAnswered() && !expired)
        g_main_context_iteration(nullptr, TRUE);
    if (!expired)
        g_source_remove(timer);
}

std::vector<std::string> MessageBusCheck::finish() {
    if (std::exchange(finished_, true))
        return {};
    waitUntil(deadline_);
    std::vector<std::string> hidden;
    for (const auto& probe : probes_) {
        if (probe.answer->done)
            continue;
        g_setenv(environmentName(probe.bus), hiddenAddress, TRUE);
        hidden.push_back(probe.bus == DBusConnector::Bus::System ? "system" : "session");
    }
    g_cancellable_cancel(cancellable_);
    return hidden;
}

} // namespace orrelith::platform
