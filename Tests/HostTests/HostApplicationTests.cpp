#include "Host/HostApplication.hpp"
#include "Platform/Fake/System/FakeMainLoop.hpp"
#include "Platform/Fake/FakePlatform.hpp"
#include "TestBundle.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>

using namespace orrelith::host;
using namespace orrelith::platform;

namespace {

using Posts = std::vector<std::string>;
using Arguments = std::vector<std::string>;

// The host on the fake platform, with a home folder on disk that holds the probe as Quorvane.saver.
class HostApplicationTest : public ::testing::Test {
protected:
    HostApplicationTest() {
        fake.system->homeFolderValue = home.path();
        fake.screens->add(Rect::make(0, 0, 1280, 800), "Only", 1);
        std::filesystem::create_directories(installedSaver);
        fake.system->bundles[installedSaver] =
            Bundle{installedSaver, std::nullopt, {{"NSPrincipalClass", "HostProbeView"}}, HOST_PROBE_MODULE};
    }

    int run(const std::vector<std::string>& arguments) {
        return HostApplication::create(loop, out, messages)->run(arguments);
    }

    FakePlatform fake;
    TemporaryFolder home;
    std::filesystem::path installedSaver = home.path() / "Library" / "Screen Savers" / "Quorvane.saver";
    std::shared_ptr<FakeMainLoop> loop = std::make_shared<FakeMainLoop>(fake.queue);
    std::ostringstream out;
    std::ostringstream messages;
};

TEST_F(HostApplicationTest, RunsTheSaverInstalledOrGivenFullScreenUntilItsDurationOrATerminationSignal) {
    const Posts aRun{"probe.start fullscreen 1280x800 shown", "com.apple.screensaver.willstop", "probe.stop",
                     "com.apple.screensaver.didstop"};
    EXPECT_EQ(run({"--duration", "10"}), 0);
    EXPECT_DOUBLE_EQ(fake.queue->now(), 10);
    EXPECT_EQ(loop->record().lastReturn, FakeMainLoop::Record::Return::Quit);
    EXPECT_EQ(fake.distributed->record().posts, aRun);
    EXPECT_EQ(messages.str(), "");

    loop = std::make_shared<FakeMainLoop>(fake.queue);
    fake.queue->asyncAfter(3, [this] { loop->simulateSignal(SIGTERM); });
    EXPECT_EQ(run({}), 0);
    EXPECT_TRUE(loop->handlesTerminationSignals());
    EXPECT_DOUBLE_EQ(fake.queue->now(), 13);
    EXPECT_EQ(Posts(fake.distributed->record().posts.begin() + 4, fake.distributed->record().posts.end()), aRun);

    // A bundle given on the command line is loaded instead of the installed one.
    TemporaryFolder elsewhere;
    auto given = elsewhere.path() / "Other.saver";
    std::filesystem::create_directories(given);
    fake.system->bundles[given] =
        Bundle{given, std::nullopt, {{"NSPrincipalClass", "HostProbeView"}}, HOST_PROBE_MODULE};
    std::filesystem::remove_all(installedSaver);
    loop = std::make_shared<FakeMainLoop>(fake.queue);
    EXPECT_EQ(run({"--bundle", given.string(), "--preview", "--duration", "1"}), 0);
    EXPECT_EQ(fake.distributed->record().posts.at(8), "probe.start preview 296x184 shown");
}

TEST_F(HostApplicationTest, SIGHUPStopsAPreviewQuietlyForAFreshStartAndIsLeftAloneByAFullScreenRun) {
    fake.queue->asyncAfter(2, [this] { loop->simulateSignal(SIGHUP); });
    auto application = HostApplication::create(loop, out, messages);
    EXPECT_EQ(application->run({"--settings"}), 0);
    EXPECT_TRUE(application->reloadRequested());
    EXPECT_DOUBLE_EQ(fake.queue->now(), 2);
    EXPECT_EQ(fake.distributed->record().posts, (Posts{"probe.start preview 296x184 shown", "probe.stop"}))
        << "nothing ended for the saver's other processes";

    auto fullScreen = std::make_shared<FakeMainLoop>(fake.queue);
    auto run = HostApplication::create(fullScreen, out, messages);
    EXPECT_EQ(run->run({"--duration", "1"}), 0);
    EXPECT_FALSE(fullScreen->handlesReload());
    EXPECT_FALSE(run->reloadRequested());
}

// The settings pane stores the delay while the daemon waits; a delay on the command line wins.
TEST_F(HostApplicationTest, TheDaemonFollowsTheStoredDelayAsItChangesAndShrugsOffSIGHUP) {
    for (std::string given : {"", "60"}) {
        SCOPED_TRACE("--idle-after " + given);
        fake.preferences->standard->values["idleDelay"] = FakeUserDefaults::Data{"60"};
        fake.idle->userActs();
        auto before = fake.children->started().size();
        fake.queue->asyncAfter(30, [this] {
            fake.preferences->standard->values["idleDelay"] = FakeUserDefaults::Data{"120"};
            fake.preferences->simulateStandardChange();
            loop->simulateSignal(SIGHUP);
        });
        std::size_t runsAt90 = 0;
        fake.queue->asyncAfter(90, [&] { runsAt90 = fake.children->started().size() - before; });
        fake.queue->asyncAfter(150, [this] { loop->simulateSignal(SIGTERM); });
        EXPECT_EQ(run(given.empty() ? Arguments{"--daemon"} : Arguments{"--daemon", "--idle-after", given}), 0);
        EXPECT_EQ(runsAt90, given.empty() ? 0u : 1u);
        EXPECT_EQ(fake.children->started().size() - before, 1u) << "the run at 120 s, or at 60 s only";
        fake.children->end(fake.children->started().size() - 1, {ChildEnd::Kind::Signalled, SIGTERM});
        fake.runUntilIdle();
    }
}

// The settings pane stores the chosen screen saver while the daemon waits; the next run loads it.
TEST_F(HostApplicationTest, TheDaemonRunsTheScreenSaverChosenInTheSettingsPane) {
    fake.preferences->standard->values["idleDelay"] = FakeUserDefaults::Data{"60"};
    fake.preferences->standard->values["saverName"] = FakeUserDefaults::Data{"Drift"};
    fake.idle->userActs();
    auto before = fake.children->started().size();
    fake.queue->asyncAfter(90, [this] {
        fake.preferences->standard->values["saverName"] = FakeUserDefaults::Data{"Nebula"};
        fake.preferences->simulateStandardChange();
        fake.children->end(fake.children->started().size() - 1, {ChildEnd::Kind::Exited, 0});
        fake.idle->userActs();
    });
    fake.queue->asyncAfter(200, [this] { loop->simulateSignal(SIGTERM); });
    EXPECT_EQ(run({"--daemon"}), 0);
    auto& started = fake.children->started();
    ASSERT_EQ(started.size() - before, 2u);
    EXPECT_EQ(started[before]->arguments, (Arguments{"--saver", "Drift"}));
    EXPECT_EQ(started[before + 1]->arguments, (Arguments{"--saver", "Nebula"}));
}

TEST_F(HostApplicationTest, WhatCannotRunIsToldInOneLineWithItsExitStatus) {
    struct Case {
        std::string name;
        std::function<void()> breakIt;
        std::vector<std::string> arguments;
        int status;
        std::string says;
    };
    const std::vector<Case> cases{
        {"nothing installed", [this] { std::filesystem::remove_all(installedSaver); }, {}, 1,
         "quorvane-host: no screen saver at " + installedSaver.string() + "\n"},
        {"no display",
         [] {
             auto services = installed();
             services.screens = nullptr;
             services.windows = nullptr;
             install(services);
         },
         {}, 1, "quorvane-host: no display to show the screen saver on"},
        {"no screen", [this] { fake.screens->list.clear(); }, {}, 1,
         "quorvane-host: there is no screen to show the screen saver on\n"},
        {"a failed screenshot", [this] { fake.windows->screenshotFailure = "disk full"; },
         {"--duration", "2", "--screenshot", "/tmp/x.png"}, 1, "quorvane-host: no screenshot: disk full\n"},
        {"a bad command line", [] {}, {"--duration", "never"}, 2,
         "quorvane-host: --duration wants a number of seconds, not \"never\"\nusage: quorvane-host"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        messages.str("");
        auto services = installed();
        test.breakIt();
        EXPECT_EQ(run(test.arguments), test.status);
        EXPECT_NE(messages.str().find(test.says), std::string::npos) << messages.str();
        install(services);
        std::filesystem::create_directories(installedSaver);
        fake.screens->list = {fake.screens->list.empty() ? FakeScreen::make(Rect::make(0, 0, 1280, 800), "Only", 1)
                                                         : fake.screens->list.front()};
        fake.windows->screenshotFailure.reset();
    }
}

} // namespace
