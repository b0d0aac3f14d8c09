#include "Host/HostDaemon.hpp"
#include "Host/HostError.hpp"
#include "Platform/Fake/FakePlatform.hpp"

#include <gtest/gtest.h>

#include <csignal>

using namespace orrelith;
using namespace orrelith::platform;

namespace {

class HostDaemonTest : public ::testing::Test {
protected:
    HostDaemonTest() {
        fake.screens->add(Rect::make(0, 0, 1440, 900), "Built-in Display", 1);
        fake.screens->add(Rect::make(1440, 0, 1024, 768), "Side Display", 2);
    }
    std::shared_ptr<host::HostDaemon> startDaemon(double idleAfter) {
        auto daemon = host::HostDaemon::create({idleAfter, {"--saver", "Quorvane"}},
                                               [this](const std::string& line) { said.push_back(line); });
        daemon->start();
        return daemon;
    }
    std::size_t runs() const { return fake.children->started().size(); }
    // Whether each screen has a black window full screen on it, the screens in order.
    void expectCovered(const host::HostDaemon& daemon) {
        auto screens = fake.screens->screens();
        const auto& covers = daemon.covers().windows();
        ASSERT_EQ(covers.size(), screens.size());
        for (std::size_t i = 0; i < covers.size(); ++i) {
            EXPECT_TRUE(covers[i]->isVisible());
            EXPECT_EQ(FakeWindowBackend::of(*covers[i]).state.fullScreenOn, screens[i].get());
            EXPECT_EQ(covers[i]->contentView()->layerBackgroundColor(), Color::black());
        }
    }

    FakePlatform fake;
    std::vector<std::string> said;
};

TEST_F(HostDaemonTest, ARunStartsAfterTheIdleDelayAndIsAskedToEndWhenTheUserComesBack) {
    fake.idle->available = false;
    EXPECT_THROW(startDaemon(2), host::HostError) << "without idle reports the daemon refuses to start";
    fake.idle->available = true;
    auto daemon = startDaemon(2);
    EXPECT_EQ(fake.windows->record().windowPreparations, 1u) << "the first covers must not wait for the toolkit";
    fake.advanceBy(1.999);
    EXPECT_EQ(runs(), 0u);
    EXPECT_TRUE(daemon->covers().windows().empty());
    fake.advanceBy(0.001);
    ASSERT_EQ(runs(), 1u);
    EXPECT_EQ(fake.children->started()[0]->arguments, (std::vector<std::string>{"--saver", "Quorvane"}));
    expectCovered(*daemon);

    fake.advanceBy(30);
    auto cover = daemon->covers().windows().front();
    fake.idle->userActs();
    fake.runUntilIdle();
    EXPECT_TRUE(cover->isClosed()) << "the user is back: nothing of the daemon's may hide the desktop";
    EXPECT_EQ(fake.children->started()[0]->terminateCalls, 1);
    fake.children->end(0, {ChildEnd::Kind::Signalled, SIGTERM});
    fake.runUntilIdle();
    EXPECT_FALSE(daemon->isRunning());
    EXPECT_TRUE(said.empty()) << "a run ended as asked is no news";

    // Activity during the wait restarts the count.
    fake.advanceBy(1.5);
    fake.idle->userActs();
    fake.advanceBy(1.999);
    EXPECT_EQ(runs(), 1u);
    fake.advanceBy(0.001);
    EXPECT_EQ(runs(), 2u);
}

TEST_F(HostDaemonTest, ACrashedRunOrOneThatCannotStartIsToldAndTheNextIdlePeriodStartsANewOne) {
    auto daemon = startDaemon(2);
    fake.advanceBy(2);
    ASSERT_EQ(runs(), 1u);
    expectCovered(*daemon);
    fake.children->end(0, {ChildEnd::Kind::Signalled, SIGKILL});
    fake.runUntilIdle();
    EXPECT_FALSE(daemon->isRunning());
    EXPECT_TRUE(daemon->covers().windows().empty()) << "a crashed run leaves no window";
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("signal 9"), std::string::npos) << said[0];
    fake.advanceBy(60);
    EXPECT_EQ(runs(), 1u) << "the user has not come back: the same idle period goes on";

    fake.idle->userActs();
    fake.advanceBy(2);
    EXPECT_EQ(runs(), 2u);

    fake.children->end(1, {ChildEnd::Kind::Exited, 0});
    fake.children->canStart = false;
    fake.idle->userActs();
    fake.advanceBy(2);
    EXPECT_FALSE(daemon->isRunning());
    EXPECT_EQ(said.back(), "cannot start a run of the screen saver");
    EXPECT_TRUE(daemon->covers().windows().empty());
    fake.children->canStart = true;
    fake.idle->userActs();
    fake.advanceBy(2);
    EXPECT_TRUE(daemon->isRunning()) << "the daemon kept waiting";
}

TEST_F(HostDaemonTest, AHoldKeepsRunsOffUntilReleasedAndNeverEndsARunInProgress) {
    auto daemon = startDaemon(2);
    fake.inhibitors->hold();
    fake.advanceBy(10);
    EXPECT_EQ(runs(), 0u);
    fake.inhibitors->release();
    fake.runUntilIdle();
    ASSERT_EQ(runs(), 1u) << "the user stayed idle all along";
    EXPECT_EQ(fake.inhibitors->activeCalls, (std::vector<bool>{true}));

    fake.inhibitors->hold();
    fake.advanceBy(5);
    EXPECT_EQ(fake.children->started()[0]->terminateCalls, 0) << "the user is away";
    fake.idle->userActs();
    fake.runUntilIdle();
    fake.children->end(0, {ChildEnd::Kind::Signalled, SIGTERM});
    fake.advanceBy(10);
    EXPECT_EQ(runs(), 1u) << "the next run waits for the hold";
    EXPECT_EQ(fake.inhibitors->activeCalls, (std::vector<bool>{true, false}));
}

} // namespace
