// The host on an X11 screen of 1280x800 (Xvfb) with a window manager, and a private session bus.
#include "../Platform/MainLoopSupport.hpp"
#include "HostRunFixture.hpp"

#include <csignal>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include <gio/gio.h>

namespace {

class HostOnX11 : public HostRunFixture {
protected:
    // The host's visible windows, by the X window ids xdotool reports.
    static std::vector<std::string> hostWindows() {
        return commandLines("xdotool search --onlyvisible --classname quorvane-host");
    }
    static bool waitForWindows(std::size_t count, double seconds) {
        return pumpUntil([count] { return hostWindows().size() >= count; }, seconds);
    }
    // The inode of the copy of `library` that process `pid` has mapped now (a replaced one reads
    // "(deleted)" after its path); 0 when none.
    static ino_t mappedInode(pid_t pid, const std::filesystem::path& library) {
        std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
        std::string range, permissions, offset, device, path;
        for (ino_t inode = 0; maps >> range >> permissions >> offset >> device >> inode && std::getline(maps, path);)
            if (path.ends_with(" " + library.string()))
                return inode;
        return 0;
    }
};

TEST_F(HostOnX11, TheRealSaverPaintsAScreenFullOfASceneAndEndsByItselfAfterItsDuration) {
    auto picture = file("run.png");
    // A fresh user compiles the rule list and starts the web engine first; on a busy machine that can take
    // longer than the two seconds a scene needs to paint.
    auto host = start(withBundle({"--duration", "6", "--screenshot", picture.string(), "--screenshot-after", "5"}));
    expectCleanEnd(*host, 60);
    EXPECT_NE(host->messages().find("screenshot written to " + picture.string()), std::string::npos);
    auto shot = ScenePicture::load(picture);
    ASSERT_TRUE(shot) << "no picture at " << picture;
    EXPECT_EQ(shot->width(), 1280) << "the window covers the screen";
    EXPECT_EQ(shot->height(), 800);
    auto nearest = shot->nearest(shot->whole(), gallery());
    EXPECT_TRUE(nearest.isClear()) << "no scene clearly shown (black?); nearest " << nearest.slug << " at "
                                   << nearest.distance << ", next at " << nearest.runnerUpDistance;
}

TEST_F(HostOnX11, AKeyAClickAMovedPointerOrATerminationSignalEndsTheRun) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"a key", "xdotool windowfocus --sync WINDOW key space"},
        {"a click", "xdotool click 1"},
        {"a moved pointer", "xdotool mousemove_relative -- 60 40"},
        {"a termination signal", ""},
    };
    for (const auto& [name, action] : cases) {
        SCOPED_TRACE(name);
        received->clear();
        auto host = start(withBundle({"--duration", "120"}));
        ASSERT_TRUE(waitForWindows(1, 30)) << host->messages();
        // A window appearing under the pointer hears of it; that alone must not end the run.
        pumpFor(1.5);
        ASSERT_TRUE(host->isRunning()) << host->messages();
        auto command = action;
        if (auto at = command.find("WINDOW"); at != std::string::npos)
            command.replace(at, 6, hostWindows().front());
        if (command.empty())
            host->sendSignal(SIGTERM);
        else
            commandOutput(command);
        expectCleanEnd(*host, 20);
    }
}

TEST_F(HostOnX11, ThePreviewWindowShowsTheStillOfAScene) {
    auto picture = file("preview.png");
    auto host = start(withBundle({"--preview", "--duration", "5", "--screenshot", picture.string(),
                                  "--screenshot-after", "3"}));
    expectCleanEnd(*host, 40);
    auto shot = ScenePicture::load(picture);
    ASSERT_TRUE(shot) << host->messages();
    EXPECT_GE(shot->width(), 296);
    EXPECT_GE(shot->height(), 184);
    auto nearest = shot->nearest(shot->whole(), gallery());
    EXPECT_TRUE(nearest.isClear()) << "nearest " << nearest.slug << " at " << nearest.distance << ", next at "
                                   << nearest.runnerUpDistance;
}

// The options application installs a new copy over the old one, then sends SIGHUP to the windows that keep
// the old one loaded. The pane starts over and previews the new copy (its screenshot then comes again).
TEST_F(HostOnX11, SIGHUPMakesTheSettingsPaneLoadTheNewCopyAndPreviewItWhileTheDaemonIgnoresIt) {
    auto bundle = file("Quorvane.saver");
    std::filesystem::copy(ORRELITH_SAVER_BUNDLE, bundle, std::filesystem::copy_options::recursive);
    auto library = bundle / "Contents" / "Linux" / "Quorvane.so";
    auto picture = file("pane.png");
    auto host = start({"--bundle", bundle.string(), "--settings", "--duration", "120", "--screenshot",
                       picture.string(), "--screenshot-after", "3"});
    auto daemon = start(withBundle({"--daemon", "--idle-after", "600"}));
    auto screenshots = [&] {
        auto said = host->messages();
        const std::string written = "screenshot written";
        std::size_t count = 0;
        for (auto at = said.find(written); at != std::string::npos; at = said.find(written, at + 1))
            ++count;
        return count;
    };
    ASSERT_TRUE(pumpUntil([&] { return screenshots() == 1; }, 30)) << host->messages();
    ASSERT_NE(mappedInode(host->pid(), library), 0u);
    std::filesystem::remove(picture);
    std::filesystem::copy_file(library, file("new.so"));
    std::filesystem::rename(file("new.so"), library);
    struct stat installed {};
    ASSERT_EQ(stat(library.c_str(), &installed), 0);

    host->sendSignal(SIGHUP);
    daemon->sendSignal(SIGHUP);
    EXPECT_TRUE(pumpUntil([&] { return mappedInode(host->pid(), library) == installed.st_ino; }, 30))
        << "the new copy is not loaded\n" << host->messages();
    ASSERT_TRUE(pumpUntil([&] { return screenshots() == 2; }, 30)) << host->messages();
    auto shot = ScenePicture::load(picture);
    ASSERT_TRUE(shot) << host->messages();
    // The preview sits centred at the top of the pane.
    auto nearest = shot->nearest({(shot->width() - 296) / 2, 16, 296, 184}, gallery());
    EXPECT_TRUE(nearest.isClear()) << "nearest " << nearest.slug << " at " << nearest.distance;
    EXPECT_TRUE(received->empty()) << "a reload ended a run for the saver's other processes";
    EXPECT_TRUE(daemon->isRunning()) << daemon->messages();

    host->sendSignal(SIGTERM);
    ASSERT_TRUE(host->waitForExit(20)) << host->messages();
    EXPECT_EQ(host->exitStatus(), 0) << host->messages();
    daemon->sendSignal(SIGTERM);
    ASSERT_TRUE(daemon->waitForExit(10)) << daemon->messages();
}

// The daemon's runs are its children; their web processes are theirs.
TEST_F(HostOnX11, TheDaemonRunsTheSaverWhileTheUserIsIdleAndEndsItWhenTheyComeBack) {
    auto daemon = start(withBundle({"--daemon", "--idle-after", "2"}));
    auto runOf = [&] { return commandOutput("pgrep -P " + std::to_string(daemon->pid())); };
    auto webProcesses = [] { return commandOutput("pgrep -u " + std::to_string(getuid()) + " WebKitWebProces"); };
    // The daemon's own black covers come first; the run's windows are those of its child.
    auto runWindows = [&] {
        auto run = runOf();
        return run.empty() ? 0 : commandLines("xdotool search --onlyvisible --pid " + run).size();
    };
    commandOutput("xdotool mousemove 20 20");
    pumpFor(1.5);
    EXPECT_TRUE(hostWindows().empty()) << "a run before 2 s of idleness";
    ASSERT_TRUE(pumpUntil([&] { return runWindows() >= 1; }, 2)) << "no run within a second after 2 s of idleness\n"
                                                                 << daemon->messages();
    // The daemon draws its covers without GL; that choice must not reach the run's pages.
    ASSERT_TRUE(pumpUntil([&] { return !webProcesses().empty(); }, 5)) << daemon->messages();
    for (const auto& pid : commandLines("pgrep -u " + std::to_string(getuid()) + " WebKitWebProces"))
        EXPECT_EQ(commandOutput("tr '\\0' '\\n' < /proc/" + pid + "/environ | grep GSK_RENDERER"), "") << pid;

    commandOutput("xdotool mousemove_relative -- 60 40");
    EXPECT_TRUE(pumpUntil([&] { return hostWindows().empty() && runOf().empty(); }, 1.5)) << "the run goes on";
    EXPECT_TRUE(pumpUntil([&] { return webProcesses().empty(); }, 3)) << "web processes left: " << webProcesses();

    ASSERT_TRUE(pumpUntil([&] { return runWindows() >= 1; }, 3.5)) << "the next idle period starts no run\n"
                                                                   << daemon->messages();
    auto run = runOf();
    ASSERT_FALSE(run.empty());
    kill(std::stoi(run), SIGKILL);
    EXPECT_TRUE(pumpUntil([&] { return hostWindows().empty(); }, 2)) << "a killed run leaves a window";
    commandOutput("xdotool mousemove_relative -- -60 -40");
    EXPECT_TRUE(pumpUntil([&] { return runWindows() >= 1; }, 3.5)) << "no run after a killed one\n" << daemon->messages();

    daemon->sendSignal(SIGTERM);
    ASSERT_TRUE(daemon->waitForExit(10)) << daemon->messages();
    EXPECT_EQ(daemon->exitStatus(), 0) << daemon->messages();
    EXPECT_TRUE(pumpUntil([&] { return hostWindows().empty() && webProcesses().empty(); }, 10));
}

// Another program holds the screen saver off on the session bus, as video players do on X11.
TEST_F(HostOnX11, AnInhibitKeepsRunsOffUntilReleasedOrUntilItsConnectionCloses) {
    auto daemon = start(withBundle({"--daemon", "--idle-after", "2"}));
    auto connect = [] {
        return g_dbus_connection_new_for_address_sync(
            g_getenv("DBUS_SESSION_BUS_ADDRESS"),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
    };
    auto call = [](GDBusConnection* bus, const char* path, const char* method, GVariant* arguments) {
        return g_dbus_connection_call_sync(bus, "org.freedesktop.ScreenSaver", path, "org.freedesktop.ScreenSaver",
                                           method, arguments, nullptr, G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr);
    };
    GDBusConnection* holder = connect();
    ASSERT_TRUE(holder);
    GVariant* reply = nullptr;
    ASSERT_TRUE(pumpUntil([&] { return (reply = call(holder, "/ScreenSaver", "GetActive", nullptr)) != nullptr; }, 5))
        << "the daemon serves no org.freedesktop.ScreenSaver\n" << daemon->messages();
    g_variant_unref(reply);
    commandOutput("xdotool mousemove 30 30");
    reply = call(holder, "/org/freedesktop/ScreenSaver", "Inhibit", g_variant_new("(ss)", "test", "a video"));
    ASSERT_TRUE(reply);
    guint32 cookie = 0;
    g_variant_get(reply, "(u)", &cookie);
    g_variant_unref(reply);
    pumpFor(3.5);
    EXPECT_TRUE(hostWindows().empty()) << "a run while inhibited";
    g_variant_unref(call(holder, "/org/freedesktop/ScreenSaver", "UnInhibit", g_variant_new("(u)", cookie)));
    EXPECT_TRUE(waitForWindows(1, 3)) << "no run once released, the user idle all along";
    reply = call(holder, "/ScreenSaver", "GetActive", nullptr);
    ASSERT_TRUE(reply);
    gboolean active = FALSE;
    g_variant_get(reply, "(b)", &active);
    g_variant_unref(reply);
    EXPECT_TRUE(active) << "GetActive while a run shows";

    commandOutput("xdotool mousemove_relative -- 60 40");
    ASSERT_TRUE(pumpUntil([] { return hostWindows().empty(); }, 1.5));
    g_variant_unref(call(holder, "/ScreenSaver", "Inhibit", g_variant_new("(ss)", "test", "a call")));
    pumpFor(3.5);
    EXPECT_TRUE(hostWindows().empty()) << "a run while inhibited";
    g_dbus_connection_close_sync(holder, nullptr, nullptr);
    g_object_unref(holder);
    EXPECT_TRUE(waitForWindows(1, 1.5)) << "no run once the holder's connection closed";

    daemon->sendSignal(SIGTERM);
    ASSERT_TRUE(daemon->waitForExit(10)) << daemon->messages();
}

} // namespace
