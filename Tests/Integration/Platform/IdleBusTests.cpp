// Inhibitors and idleness read from other programs on the message buses, each played by the test on a
// private bus of its own.
#include "MainLoopSupport.hpp"
#include "PrivateBus.hpp"
#include "Platform/Linux/Idle/CompositeIdleInhibitors.hpp"
#include "Platform/Linux/Idle/DBusPropertyInhibition.hpp"
#include "Platform/Linux/Idle/LinuxIdleMonitor.hpp"

#include <gtest/gtest.h>


using namespace orrelith::platform;

namespace {

// A program on the bus: owns a name and serves one object whose method calls and property the test plays.
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

// The daemon's sources of inhibition from the buses, each while the other bus never answers.
TEST(BusIdleInhibition, FollowsThePublishedPropertyFromTheStartUntilItsProgramQuits) {
    struct Case {
        DBusPropertyInhibition::Source source;
        const char *inhibiting, *notInhibiting;
    };
    for (auto& [source, inhibiting, notInhibiting] :
         {Case{DBusPropertyInhibition::logindIdleLocks(), "'sleep:idle'", "'sleep:idle-ish'"},
          Case{DBusPropertyInhibition::sessionIdleInhibition(), "uint32 12", "uint32 5"}}) {
        SCOPED_TRACE(source.name);
        bool system = source.bus == DBusConnector::Bus::System;
        PrivateBus bus(PrivateBus::Kind::Open, system ? "DBUS_SYSTEM_BUS_ADDRESS" : "DBUS_SESSION_BUS_ADDRESS");
        PrivateBus hung(PrivateBus::Kind::Hung, system ? "DBUS_SESSION_BUS_ADDRESS" : "DBUS_SYSTEM_BUS_ADDRESS");
        StandIn program(bus, source.name, source.path,
                        "<interface name='" + source.interface + "'><property name='" + source.property +
                            "' type='" + (system ? "s" : "u") + "' access='read'/></interface>");
        program.set(inhibiting);
        auto inhibitors = CompositeIdleInhibitors::create(
            {DBusPropertyInhibition::create(DBusPropertyInhibition::logindIdleLocks()),
             DBusPropertyInhibition::create(DBusPropertyInhibition::sessionIdleInhibition())});
        int changes = 0;
        inhibitors->start([&] { ++changes; });
        EXPECT_TRUE(pumpUntil([&] { return inhibitors->isInhibited(); })) << "held before the start";
        program.set(notInhibiting);
        EXPECT_TRUE(pumpUntil([&] { return !inhibitors->isInhibited(); }));
        program.set(inhibiting);
        EXPECT_TRUE(pumpUntil([&] { return inhibitors->isInhibited(); }));
        program.quit();
        EXPECT_TRUE(pumpUntil([&] { return !inhibitors->isInhibited(); })) << "its program quit";
        EXPECT_EQ(changes, 4);
    }
}

TEST(LinuxIdleMonitorOnTheBus,
     WithoutWaylandIdleProtocolsAsksTheCompositorsMonitorForAnIdleThenAnActiveWatch) {
    PrivateBus bus(PrivateBus::Kind::Open, "DBUS_SESSION_BUS_ADDRESS");
    StandIn mutter(
        bus, "org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core",
        "<interface name='org.gnome.Mutter.IdleMonitor'>"
        "<method name='AddIdleWatch'><arg type='t' direction='in'/><arg type='u' direction='out'/></method>"
        "<method name='AddUserActiveWatch'><arg type='u' direction='out'/></method>"
        "<method name='RemoveWatch'><arg type='u' direction='in'/></method></interface>");
    std::vector<std::string> calls; // a watch's id is the number of its call
    mutter.method = [&](const std::string& method, GVariant* parameters) -> GVariant* {
        gchar* arguments = g_variant_print(parameters, FALSE);
        calls.push_back(method + " " + arguments);
        g_free(arguments);
        return method == "RemoveWatch" ? nullptr : g_variant_new("(u)", guint32(calls.size()));
    };
    auto fire = [&](guint32 id) {
        mutter.emit("org.gnome.Mutter.IdleMonitor", "WatchFired", g_variant_new("(u)", id));
    };
    // A Wayland display without the idle protocols (here: none at all) leaves the choice to the bus.
    g_setenv("WAYLAND_DISPLAY", "orrelith-no-compositor", TRUE);
    auto monitor = std::make_unique<LinuxIdleMonitor>();
    std::vector<std::string> reports;
    monitor->watch(
        2.5, [&] { reports.push_back("idle"); }, [&] { reports.push_back("active"); });
    ASSERT_TRUE(pumpUntil([&] { return calls.size() == 1; }));
    fire(1);
    ASSERT_TRUE(pumpUntil([&] { return calls.size() == 2; }));
    fire(2);
    EXPECT_TRUE(pumpUntil([&] { return reports == std::vector<std::string>{"idle", "active"}; }));
    monitor->stop();
    std::vector<std::string> expected{"AddIdleWatch (2500,)", "AddUserActiveWatch ()", "RemoveWatch (1,)"};
    EXPECT_TRUE(pumpUntil([&] { return calls == expected; })) << testing::PrintToString(calls);
    mutter.quit();
    EXPECT_TRUE(pumpUntil([&] { return !monitor->isAvailable(); })) << "the monitor went";
    g_unsetenv("WAYLAND_DISPLAY");
}

} // namespace
