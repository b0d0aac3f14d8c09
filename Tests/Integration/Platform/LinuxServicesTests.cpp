#include "StandIn.hpp"
#include "MainLoopSupport.hpp"
#include "Platform/Linux/System/DBusDistributedCenter.hpp"
#include "Platform/Linux/System/GlibMainQueue.hpp"
#include "Platform/Linux/System/LinuxSystem.hpp"
#include "Platform/Linux/System/LinuxWorkspace.hpp"
#include "Platform/Linux/System/PlistPreferences.hpp"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>

#include <gio/gio.h>

#include "TemporaryFolder.hpp"

using namespace orrelith::platform;
namespace fs = std::filesystem;

namespace {

using orrelith::testing::TemporaryFolder;

std::string readFile(const fs::path& file) { return TemporaryFolder::read(file); }

void writeInfoPlist(const fs::path& bundle, const std::string& identifier, const std::string& executable) {
    fs::create_directories(bundle / "Contents" / "Linux");
    std::ofstream(bundle / "Contents" / "Info.plist") << "<plist version=\"1.0\"><dict><key>CFBundleIdentifier</key><string>"
        << identifier << "</string><key>CFBundleExecutable</key><string>" << executable << "</string></dict></plist>";
}

} // namespace

TEST(GlibMainQueue, TimersAndDelayedCallsFireInOrderOnTheLoopAndWorkFromAnyThreadRunsOnTheMainThread) {
    GlibMainQueue queue;
    std::vector<std::string> events;
    std::vector<gint64> tickTimes;
    gint64 start = g_get_monotonic_time();
    std::shared_ptr<RepeatingTimer> timer = queue.scheduleRepeating(0.1, [&] {
        tickTimes.push_back(g_get_monotonic_time() - start);
        events.push_back("tick");
        if (tickTimes.size() == 4)
            timer->invalidate();
    });
    queue.asyncAfter(0.25, [&] { events.push_back("delay"); });
    queue.async([&] { events.push_back("now"); });
    EXPECT_TRUE(events.empty()) << "nothing runs inside the calls";
    ASSERT_TRUE(pumpUntil([&] { return events.size() == 6; }));
    pumpFor(0.25);
    EXPECT_EQ(events, (std::vector<std::string>{"now", "tick", "tick", "delay", "tick", "tick"}));
    for (std::size_t k = 0; k < tickTimes.size(); ++k)
        EXPECT_GE(tickTimes[k], static_cast<gint64>(k + 1) * 100000) << "a tick never comes early";
    EXPECT_FALSE(timer->isValid());

    // A dispatch timer fires on a later turn, then every interval.
    int firings = 0;
    auto dispatch = queue.makeDispatchTimer();
    dispatch->setEventHandler([&] {
        if (++firings == 3)
            dispatch->cancel();
    });
    dispatch->schedule(0, 0.02, 0);
    dispatch->resume();
    EXPECT_EQ(firings, 0);
    ASSERT_TRUE(pumpUntil([&] { return firings == 3; }));
    pumpFor(0.1);
    EXPECT_EQ(firings, 3);
    EXPECT_TRUE(dispatch->isCancelled());

    auto mainThread = std::this_thread::get_id();
    std::optional<std::thread::id> ranOn;
    std::thread([&] { queue.async([&] { ranOn = std::this_thread::get_id(); }); }).join();
    ASSERT_TRUE(pumpUntil([&] { return ranOn.has_value(); }));
    EXPECT_EQ(*ranOn, mainThread) << "work from another thread runs on the main thread";
}

TEST(PlistPreferences, DefaultsSurviveARoundTripModuleDefaultsOfOtherProgramsAreKeptAndAWatcherSeesAnotherWriter) {
    TemporaryFolder home;
    std::string bytes("\x00\x01\xff{\"a\":1}", 10);
    {
        PlistPreferences preferences(home.path(), "org.kestrin.orvex.options");
        auto defaults = preferences.standardUserDefaults();
        defaults->setData("blob", bytes);
        defaults->setBool("declinedSystemCleanup", true);
        defaults->setBool("other", false);
    }
    auto file = home.path() / "Library/Preferences/org.kestrin.orvex.options.plist";
    EXPECT_TRUE(readFile(file).starts_with("<?xml"));
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), {}), 1) << "no temporary file left";

    PlistPreferences again(home.path(), "org.kestrin.orvex.options");
    auto defaults = again.standardUserDefaults();
    EXPECT_EQ(defaults->dataForKey("blob"), bytes);
    EXPECT_TRUE(defaults->boolForKey("declinedSystemCleanup"));
    EXPECT_FALSE(defaults->boolForKey("other"));
    EXPECT_FALSE(defaults->dataForKey("declinedSystemCleanup"));
    defaults->removeObject("blob");
    EXPECT_FALSE(PlistPreferences(home.path(), "org.kestrin.orvex.options").standardUserDefaults()->dataForKey("blob"));

    // The daemon follows the delay the settings pane stores: a watcher sees the domain as another writer left it.
    TemporaryFolder watched;
    PlistPreferences watcher(watched.path(), "quorvane-host");
    EXPECT_FALSE(watcher.standardUserDefaults()->dataForKey("idleDelay"));
    int changes = 0;
    watcher.setStandardDefaultsChangeHandler([&] { ++changes; });
    PlistPreferences(watched.path(), "other").standardUserDefaults()->setData("idleDelay", "60");
    PlistPreferences(watched.path(), "quorvane-host").standardUserDefaults()->setData("idleDelay", "120");
    ASSERT_TRUE(pumpUntil([&] { return changes > 0; }));
    EXPECT_EQ(watcher.standardUserDefaults()->dataForKey("idleDelay"), "120") << "not another domain's value";
    watcher.setStandardDefaultsChangeHandler(nullptr);
    int seen = changes;
    PlistPreferences(watched.path(), "quorvane-host").standardUserDefaults()->setData("idleDelay", "300");
    pumpFor(0.5);
    EXPECT_EQ(changes, seen) << "no handler once stopped";

    // Module defaults written by another program are read and kept.
    TemporaryFolder byHost;
    auto moduleFile = byHost.path() / "Library/Preferences/ByHost/org.kestrin.orvex.plist";
    fs::create_directories(moduleFile.parent_path());
    // {"shuffleInterval":60} in Base64, as the system's own tools write data.
    std::ofstream(moduleFile) << R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>settings.v1</key>
	<data>
	eyJzaHVmZmxlSW50ZXJ2YWwiOjYwfQ==
	</data>
	<key>CleanExit</key>
	<string>YES</string>
	<key>launchCount</key>
	<integer>7</integer>
</dict>
</plist>
)";
    PlistPreferences preferences(byHost.path(), "test");
    auto module = preferences.screenSaverDefaults("org.kestrin.orvex");
    ASSERT_TRUE(module);
    EXPECT_EQ(module->dataForKey("settings.v1"), R"({"shuffleInterval":60})");
    EXPECT_FALSE(module->dataForKey("CleanExit"));
    EXPECT_TRUE(module->boolForKey("launchCount"));

    module->setBool("seen", true);
    auto text = readFile(moduleFile);
    EXPECT_NE(text.find("<integer>7</integer>"), std::string::npos) << "other values are kept";
    EXPECT_NE(text.find("CleanExit"), std::string::npos);
    EXPECT_FALSE(preferences.screenSaverDefaults("../escape"));
    EXPECT_FALSE(preferences.screenSaverDefaults(""));
}

TEST(LinuxSystem, BundleOfLoadedCodeIsFoundFromItsAddressAndTheProcessKnowsItsArguments) {
    TemporaryFolder folder;
    auto bundle = fs::canonical(folder.path()) / "Probe.saver";
    writeInfoPlist(bundle, "org.example.probe", "Probe.so");
    fs::create_directories(bundle / "Contents/Resources/ORVEX");
    fs::copy_file(ORRELITH_BUNDLE_PROBE, bundle / "Contents/Linux/Probe.so");
    void* module = dlopen((bundle / "Contents/Linux/Probe.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(module) << dlerror();
    void* function = dlsym(module, "orrelithBundleProbe");
    ASSERT_TRUE(function);

    LinuxSystem system;
    auto found = system.bundleContaining(function);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->bundlePath, bundle);
    EXPECT_EQ(found->resourcePath, bundle / "Contents/Resources");
    EXPECT_EQ(found->executablePath, bundle / "Contents/Linux/Probe.so");
    EXPECT_EQ(found->bundleIdentifier(), "org.example.probe");
    EXPECT_FALSE(system.bundleContaining(reinterpret_cast<const void*>(&readFile))) << "the test is in no bundle";
    EXPECT_FALSE(system.mainBundle());
    dlclose(module);
    EXPECT_EQ(system.processIdentifier(), getpid());
    ASSERT_FALSE(system.arguments().empty());
    EXPECT_TRUE(system.arguments().front().ends_with("LinuxServicesIntegrationTests"));
}

TEST(LinuxWorkspace, FindsAndStartsAnApplicationDetached) {
    TemporaryFolder folder;
    auto system = std::make_shared<LinuxSystem>();
    auto queue = std::make_shared<GlibMainQueue>();
    auto app = folder.path() / "User" / "Quorvane Options.app";
    writeInfoPlist(folder.path() / "System" / "Other.app", "org.example.other", "Other");
    writeInfoPlist(app, "org.kestrin.orvex.options", "Quorvane Options");
    auto output = folder.path() / "arguments.txt";
    auto executable = app / "Contents/Linux/Quorvane Options";
    std::ofstream(executable) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << output.string() << ".part'\nmv '"
                              << output.string() << ".part' '" << output.string() << "'\n";
    fs::permissions(executable, fs::perms::owner_all);
    auto workspace = LinuxWorkspace::create(queue, system, {folder.path() / "Missing", folder.path() / "System", folder.path() / "User"});

    EXPECT_EQ(workspace->urlForApplication("org.kestrin.orvex.options"), app);
    EXPECT_FALSE(workspace->urlForApplication("org.example.none"));

    std::vector<std::optional<std::string>> outcomes;
    workspace->openApplication(app, {{"--import", "e30="}, true}, [&](auto error) { outcomes.push_back(error); });
    workspace->openApplication(folder.path() / "System" / "Other.app", {}, [&](auto error) { outcomes.push_back(error); });
    EXPECT_TRUE(outcomes.empty()) << "completion comes on a later turn";
    ASSERT_TRUE(pumpUntil([&] { return outcomes.size() == 2 && fs::exists(output); }));
    EXPECT_FALSE(outcomes[0]);
    ASSERT_TRUE(outcomes[1]) << "Other.app has no executable file";
    EXPECT_FALSE(outcomes[1]->empty());
    EXPECT_EQ(readFile(output), "--import\ne30=\n");
}

TEST(DBusDistributedCenter, ANotificationFromAnotherProcessIsObservedAndOwnPostsOnceOnALaterTurn) {
    auto center = DBusDistributedCenter::create(std::make_shared<GlibMainQueue>());
    ASSERT_TRUE(pumpUntil([&] { return center->isMirrored(); })) << "the test runs with a session bus";
    int calls = 0;
    center->addObserver(&calls, "com.apple.screensaver.willstop", [&] { ++calls; });
    gint status = -1;
    gchar* argv[] = {const_cast<gchar*>(ORRELITH_POST_TOOL), const_cast<gchar*>("com.apple.screensaver.willstop"), nullptr};
    ASSERT_TRUE(g_spawn_sync(nullptr, argv, nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr, nullptr, &status, nullptr));
    EXPECT_TRUE(g_spawn_check_wait_status(status, nullptr));
    ASSERT_TRUE(pumpUntil([&] { return calls == 1; }));
    pumpFor(0.2);
    EXPECT_EQ(calls, 1);

    int own = 0;
    center->addObserver(&own, "com.apple.screensaver.didstop", [&] { ++own; });
    center->post("com.apple.screensaver.didstop");
    EXPECT_EQ(own, 0) << "not inside the post";
    ASSERT_TRUE(pumpUntil([&] { return own == 1; }));
    pumpFor(0.3);
    EXPECT_EQ(own, 1) << "the echo from the bus is not delivered again";
}

TEST(LinuxWorkspaceSleep, LogindSleepAndWakeArePostedOnItsCenterAndNothingFailsWithoutASystemBus) {
    g_setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/orrelith-bus", TRUE);
    int posts = 0;
    auto alone = LinuxWorkspace::create(std::make_shared<GlibMainQueue>(), std::make_shared<LinuxSystem>(), {});
    alone->notificationCenter().addObserver(&posts, Workspace::screensDidSleepNotification, [&] { ++posts; });
    pumpFor(0.2);
    EXPECT_EQ(posts, 0);
    alone.reset();

    PrivateBus systemBus(PrivateBus::Kind::Open, "DBUS_SYSTEM_BUS_ADDRESS");
    ASSERT_TRUE(systemBus.isListening());
    StandIn logind(systemBus, "org.freedesktop.login1", "/org/freedesktop/login1", logindManager);
    auto workspace = LinuxWorkspace::create(std::make_shared<GlibMainQueue>(), std::make_shared<LinuxSystem>(), {});
    std::vector<std::string> seen;
    workspace->notificationCenter().addObserver(&seen, Workspace::screensDidSleepNotification, [&] { seen.push_back("sleep"); });
    workspace->notificationCenter().addObserver(&seen, Workspace::screensDidWakeNotification, [&] { seen.push_back("wake"); });
    // The workspace subscribes asynchronously: announce until it listens.
    auto announce = [&](bool sleeping, const char* expected) {
        return pumpUntil([&] {
            if (!seen.empty() && seen.back() == expected)
                return true;
            logind.emit("org.freedesktop.login1.Manager", "PrepareForSleep", g_variant_new("(b)", sleeping));
            pumpFor(0.05);
            return false;
        });
    };
    EXPECT_TRUE(announce(true, "sleep"));
    EXPECT_TRUE(announce(false, "wake"));
}
