#include "OptionsApp/Updates.hpp"
#include "Platform/Fake/FakePlatform.hpp"

#include <gtest/gtest.h>

namespace orrelith {
namespace {

using Mode = Updates::Mode;
using platform::ActivationPolicy;
using platform::FakeUpdaterController;

class UpdatesTest : public ::testing::Test {
protected:
    platform::FakePlatform platform;
    bool autoInstall = true;
    std::shared_ptr<Updates> make(Mode mode) {
        platform.application->setActivationPolicy(mode == Mode::checkOnly ? ActivationPolicy::accessory
                                                                           : ActivationPolicy::regular);
        return Updates::create(mode, [this] { return autoInstall; });
    }
    FakeUpdaterController& controller() { return *platform.updates->controllers.at(0); }
};

TEST_F(UpdatesTest, TheControllerIsMadeOnceStartedAtOnceAndDownloadsOnlyInACheckOnlyRunThatAllowsIt) {
    for (auto [mode, allowed, downloads] : {std::tuple{Mode::checkOnly, true, true}, {Mode::checkOnly, false, false},
                                            {Mode::interactive, true, false}}) {
        platform.updates->controllers.clear();
        autoInstall = allowed;
        auto updates = make(mode);
        updates->start();
        updates->checkForUpdates();
        ASSERT_EQ(platform.updates->controllers.size(), 1u);
        EXPECT_TRUE(controller().startedAsMade);
        EXPECT_EQ(controller().automaticallyDownloadsUpdates(), downloads);
        EXPECT_EQ(controller().calls, std::vector<std::string>{"check"});
    }
}

// The delegate table: what each call does in a check-only and in an interactive run.
TEST_F(UpdatesTest, EveryDelegateAnswerInBothModes) {
    struct Row {
        const char* name;
        std::function<bool(FakeUpdaterController&)> call;
        Mode mode;
        bool answer;
        std::size_t terminations;
        bool becomesRegular;
    };
    AppcastItem item{"Version 2", "20000", "2.0", "https://example.org/a.tar.xz", 10, "sig", ""};
    auto install = [&](FakeUpdaterController& c) { return c.willInstallOnQuit(item); };
    auto relaunch = [](FakeUpdaterController& c) { return c.shouldRelaunch(); };
    auto none = [](FakeUpdaterController& c) { return c.noUpdateFound(), false; };
    auto abort = [](FakeUpdaterController& c) { return c.abort("The feed is not valid."), false; };
    auto show = [&](FakeUpdaterController& c) { return c.showUpdate(item), false; };
    auto finish = [](FakeUpdaterController& c) { return c.finishSession(), false; };
    const Row rows[] = {
        {"install on quit", install, Mode::checkOnly, false, 1, false},
        {"install on quit", install, Mode::interactive, false, 0, false},
        {"relaunch", relaunch, Mode::checkOnly, false, 0, false},
        {"relaunch", relaunch, Mode::interactive, true, 0, false},
        {"no update", none, Mode::checkOnly, false, 1, false},
        {"no update", none, Mode::interactive, false, 0, false},
        {"aborted", abort, Mode::checkOnly, false, 1, false},
        {"aborted", abort, Mode::interactive, false, 0, false},
        {"showing", show, Mode::checkOnly, false, 0, true},
        {"showing", show, Mode::interactive, false, 0, false},
        {"session over", finish, Mode::checkOnly, false, 1, false},
        {"session over", finish, Mode::interactive, false, 0, false},
    };
    for (const auto& row : rows) {
        platform.updates->controllers.clear();
        platform.application->terminations = platform.application->activations = 0;
        auto updates = make(row.mode);
        updates->start();
        SCOPED_TRACE(std::string(row.name) + (row.mode == Mode::checkOnly ? " (check-only)" : " (interactive)"));
        EXPECT_EQ(row.call(controller()), row.answer);
        EXPECT_EQ(platform.application->terminations, row.terminations);
        EXPECT_EQ(platform.application->activationPolicy() == ActivationPolicy::regular,
                  row.becomesRegular || row.mode == Mode::interactive);
        EXPECT_EQ(platform.application->activations, row.becomesRegular ? 1u : 0u);
        EXPECT_EQ(controller().immediateInstallations, 0);
    }
}

// A visible window, an interactive run and a gone updater each spare the run; a plain quiet check ends it.
TEST_F(UpdatesTest, TheQuietCheckEndsTheRunAfterExactlySixHoursUnlessSpared) {
    auto visible = make(Mode::checkOnly);
    visible->checkQuietly();
    EXPECT_EQ(controller().calls, std::vector<std::string>{"background check"});
    platform.application->visibleWindow = true;
    platform.advanceBy(21600);
    platform.application->visibleWindow = false;
    auto interactive = make(Mode::interactive);
    interactive->checkQuietly();
    auto gone = make(Mode::checkOnly);
    gone->checkQuietly();
    gone.reset();
    auto quiet = make(Mode::checkOnly);
    quiet->checkQuietly();
    platform.advanceBy(21600 - 0.001);
    EXPECT_EQ(platform.application->terminations, 0u);
    platform.advanceBy(0.001);
    EXPECT_EQ(platform.application->terminations, 1u);
}

} // namespace
} // namespace orrelith
