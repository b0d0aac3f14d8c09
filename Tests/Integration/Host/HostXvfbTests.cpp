// The host on an X11 screen of 1280x800 (Xvfb) with a window manager, and a private session bus.
#include "../Platform/MainLoopSupport.hpp"
#include "HostRunFixture.hpp"

#include <csignal>
#include <unistd.h>
#include <sstream>

namespace {

class HostOnX11 : public HostRunFixture {
protected:
    // The host's visible windows, by the X window ids xdotool reports.
    static std::vector<std::string> hostWindows() {
        std::istringstream lines(commandOutput("xdotool search --onlyvisible --classname quorvane-host"));
        std::vector<std::string> windows;
        for (std::string line; std::getline(lines, line);)
            if (!line.empty())
                windows.push_back(line);
        return windows;
    }
    static bool waitForWindows(std::size_t count, double seconds) {
        return pumpUntil([count] { return hostWindows().size() >= count; }, seconds);
    }
};

TEST_F(HostOnX11, TheRealSaverPaintsAScreenFullOfASceneAndEndsByItselfAfterItsDuration) {
    auto picture = file("run.png");
    auto host = start(withBundle({"--duration", "4", "--screenshot", picture.string(), "--screenshot-after", "3"}));
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

TEST_F(HostOnX11, ATerminationSignalEndsTheRunAsTheUsersActivityWould) {
    auto host = start(withBundle({"--duration", "120"}));
    ASSERT_TRUE(waitForWindows(1, 30)) << host->messages();
    pumpFor(1);
    host->sendSignal(SIGTERM);
    expectCleanEnd(*host, 20);
}

TEST_F(HostOnX11, AKeyAClickOrAMovedPointerEndsTheRun) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"a key", "xdotool windowfocus --sync WINDOW key space"},
        {"a click", "xdotool click 1"},
        {"a moved pointer", "xdotool mousemove_relative -- 60 40"},
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

TEST_F(HostOnX11, OptionsInTheSettingsWindowPresentsTheConfigurationSheet) {
    auto host = start(withBundle({"--settings", "--duration", "120"}));
    ASSERT_TRUE(waitForWindows(1, 30)) << host->messages();
    pumpFor(1);
    auto window = hostWindows().front();
    // "Options…" sits at the right of the bar below the 184-point preview.
    commandOutput("xdotool mousemove --window " + window + " 262 206 click 1");
    EXPECT_TRUE(waitForWindows(2, 10)) << "no sheet appeared";
    host->sendSignal(SIGTERM);
    expectCleanEnd(*host, 20);
}

// The daemon's runs are its children; their web processes are theirs.
TEST_F(HostOnX11, TheDaemonRunsTheSaverWhileTheUserIsIdleAndEndsItWhenTheyComeBack) {
    auto daemon = start(withBundle({"--daemon", "--idle-after", "2"}));
    auto runOf = [&] { return commandOutput("pgrep -P " + std::to_string(daemon->pid())); };
    auto webProcesses = [] { return commandOutput("pgrep -u " + std::to_string(getuid()) + " WebKitWebProces"); };
    commandOutput("xdotool mousemove 20 20");
    pumpFor(1.5);
    EXPECT_TRUE(hostWindows().empty()) << "a run before 2 s of idleness";
    ASSERT_TRUE(waitForWindows(1, 2)) << "no run within a second after 2 s of idleness\n" << daemon->messages();

    commandOutput("xdotool mousemove_relative -- 60 40");
    EXPECT_TRUE(pumpUntil([&] { return hostWindows().empty() && runOf().empty(); }, 1.5)) << "the run goes on";
    EXPECT_TRUE(pumpUntil([&] { return webProcesses().empty(); }, 3)) << "web processes left: " << webProcesses();

    ASSERT_TRUE(waitForWindows(1, 3.5)) << "the next idle period starts no run\n" << daemon->messages();
    auto run = runOf();
    ASSERT_FALSE(run.empty());
    kill(std::stoi(run), SIGKILL);
    EXPECT_TRUE(pumpUntil([&] { return hostWindows().empty(); }, 2)) << "a killed run leaves a window";
    commandOutput("xdotool mousemove_relative -- -60 -40");
    EXPECT_TRUE(waitForWindows(1, 3.5)) << "no run after a killed one\n" << daemon->messages();

    daemon->sendSignal(SIGTERM);
    ASSERT_TRUE(daemon->waitForExit(10)) << daemon->messages();
    EXPECT_EQ(daemon->exitStatus(), 0) << daemon->messages();
    EXPECT_TRUE(pumpUntil([&] { return hostWindows().empty() && webProcesses().empty(); }, 10));
}

} // namespace
