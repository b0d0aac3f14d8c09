// Inhibitors and idleness read from other programs on the message buses, each played by the test on a
// private bus of its own.
#include "MainLoopSupport.hpp"
#include "StandIn.hpp"
#include "Platform/Linux/Idle/CompositeIdleInhibitors.hpp"
#include "Platform/Linux/Idle/DBusPropertyInhibition.hpp"
#include "Platform/Linux/Idle/LinuxIdleMonitor.hpp"

#include <gtest/gtest.h>

using namespace orrelith::platform;

namespace {

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
