#pragma once

#include "PrivateBus.hpp"

#include <gio/gio.h>

#include <functional>
#include <string>

// A program on a private bus: owns a name and serves one object whose method calls, property and signals
// the test plays.
struct StandIn {
    StandIn(const PrivateBus& on, const std::string& name, const std::string& path,
            const std::string& interface)
        : path(path),
          node(g_dbus_node_info_new_for_xml(("<node>" + interface + "</node>").c_str(), nullptr)) {
        bus = on.connect();
        static const GDBusInterfaceVTable vtable{
            [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
               GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
                g_dbus_method_invocation_return_value(
                    invocation, static_cast<StandIn*>(self)->method(method, parameters));
            },
            [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GError**,
               gpointer self) { return g_variant_ref(static_cast<StandIn*>(self)->property); },
            nullptr,
            {}};
        g_dbus_connection_register_object(bus, path.c_str(), node->interfaces[0], &vtable, this, nullptr,
                                          nullptr);
        g_variant_unref(g_dbus_connection_call_sync(
            bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
            g_variant_new("(su)", name.c_str(), 0u), nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr));
    }
    ~StandIn() {
        quit();
        g_clear_pointer(&property, g_variant_unref);
        g_dbus_node_info_unref(node);
    }
    // Its name and object go with its connection.
    void quit() { g_clear_object(&bus); }
    void set(const char* value) {
        g_clear_pointer(&property, g_variant_unref);
        property = g_variant_ref_sink(g_variant_new_parsed(value));
        auto* interface = node->interfaces[0];
        emit("org.freedesktop.DBus.Properties", "PropertiesChanged",
             g_variant_new_parsed("(%s, {%s: %v}, @as [])", interface->name, interface->properties[0]->name,
                                  property));
    }
    void emit(const char* interface, const char* signal, GVariant* parameters) {
        g_dbus_connection_emit_signal(bus, nullptr, path.c_str(), interface, signal, parameters, nullptr);
    }

    std::string path;
    GDBusNodeInfo* node;
    GDBusConnection* bus = nullptr;
    GVariant* property = nullptr;
    std::function<GVariant*(const std::string& method, GVariant* parameters)> method;
};

// logind's manager, as far as sleep and wake go.
inline const std::string logindManager = "<interface name='org.freedesktop.login1.Manager'><signal "
                                         "name='PrepareForSleep'><arg type='b'/></signal></interface>";
