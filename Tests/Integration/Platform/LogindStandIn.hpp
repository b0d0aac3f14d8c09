#pragma once

#include "PrivateBus.hpp"

#include <gio/gio.h>

// A bus of the test's own standing in for the system bus, where the test plays logind. With a `variable`,
// the test's environment names the bus there while it lives.
class LogindStandIn {
public:
    explicit LogindStandIn(const char* variable = nullptr) : bus_(PrivateBus::Kind::Open, variable), connection_(bus_.connect()) {
        if (connection_)
            g_bus_own_name_on_connection(connection_, "org.freedesktop.login1", G_BUS_NAME_OWNER_FLAGS_NONE, nullptr,
                                         nullptr, nullptr, nullptr);
    }
    ~LogindStandIn() { g_clear_object(&connection_); }
    LogindStandIn(const LogindStandIn&) = delete;
    LogindStandIn& operator=(const LogindStandIn&) = delete;

    bool isUp() const { return connection_ != nullptr; }
    std::string address() const { return bus_.address(); }
    void prepareForSleep(bool sleeping) {
        g_dbus_connection_emit_signal(connection_, nullptr, "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                      "PrepareForSleep", g_variant_new("(b)", sleeping), nullptr);
        g_dbus_connection_flush_sync(connection_, nullptr, nullptr);
    }

private:
    PrivateBus bus_;
    GDBusConnection* connection_;
};
