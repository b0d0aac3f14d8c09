#include "Platform/Linux/System/DBusConnector.hpp"

#include "Platform/Linux/System/GlibSources.hpp"

#include <filesystem>

namespace orrelith::platform {

std::optional<std::string> DBusConnector::address(Bus bus) {
    if (bus == Bus::System) {
        const char* given = g_getenv("DBUS_SYSTEM_BUS_ADDRESS");
        return std::string(given && *given ? given : "unix:path=/var/run/dbus/system_bus_socket");
    }
    if (const char* given = g_getenv("DBUS_SESSION_BUS_ADDRESS"); given && *given)
        return std::string(given);
    const char* runtime = g_getenv("XDG_RUNTIME_DIR");
    std::error_code error;
    if (!runtime || !*runtime || !std::filesystem::is_socket(std::filesystem::path(runtime) / "bus", error))
        return std::nullopt;
    return "unix:path=" + (std::filesystem::path(runtime) / "bus").string();
}

void DBusConnector::connect(Bus bus, GCancellable* cancellable, std::function<void(GDBusConnection*)> connected) {
    using Handler = std::function<void(GDBusConnection*)>;
    auto where = address(bus);
    if (!where || !g_dbus_is_supported_address(where->c_str(), nullptr)) {
        // Still on a later turn, as promised.
        g_idle_add_full(
            G_PRIORITY_DEFAULT,
            [](gpointer data) -> gboolean {
                glib::runGuarded([data] { (*static_cast<Handler*>(data))(nullptr); }, "bus connection");
                return G_SOURCE_REMOVE;
            },
            new Handler(std::move(connected)), [](gpointer data) { delete static_cast<Handler*>(data); });
        return;
    }
    auto flags = GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                      G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    g_dbus_connection_new_for_address(
        where->c_str(), flags, nullptr, cancellable,
        [](GObject*, GAsyncResult* result, gpointer data) {
            auto* handler = static_cast<Handler*>(data);
            GDBusConnection* connection = g_dbus_connection_new_for_address_finish(result, nullptr);
            if (connection)
                g_dbus_connection_set_exit_on_close(connection, FALSE);
            glib::runGuarded([handler, connection] { (*handler)(connection); }, "bus connection");
            delete handler;
        },
        new Handler(std::move(connected)));
}

} // namespace orrelith::platform
