#include "Platform/Fake/FakePlatform.hpp"

#include <gtest/gtest.h>

using namespace orrelith::platform;

TEST(FakeDistributedCenter, DeliversOnALaterTurnNeverInsidePost) {
    FakePlatform fake;
    int calls = 0;
    distributedCenter().addObserver(&calls, "com.apple.screensaver.willstop", [&] { ++calls; });
    distributedCenter().post("com.apple.screensaver.willstop");
    EXPECT_EQ(calls, 0);
    fake.runUntilIdle();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(fake.distributed->record().deliveries, (std::vector<std::string>{"com.apple.screensaver.willstop"}));
}

TEST(FakeDistributedCenter, ObserverRemovedBeforeDeliveryIsNotCalled) {
    FakePlatform fake;
    int first = 0;
    int second = 0;
    distributedCenter().addObserver(&first, "n", [&] { ++first; });
    distributedCenter().addObserver(&second, "n", [&] { ++second; });
    distributedCenter().post("n");
    distributedCenter().removeObserver(&first);
    fake.runUntilIdle();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
}

TEST(FakeDistributedCenter, OnlyObserversOfTheNameAreCalled) {
    FakePlatform fake;
    std::vector<std::string> seen;
    distributedCenter().addObserver(&seen, "a", [&] { seen.push_back("a"); });
    distributedCenter().addObserver(&seen, "b", [&] { seen.push_back("b"); });
    distributedCenter().post("b");
    distributedCenter().post("c");
    fake.runUntilIdle();
    EXPECT_EQ(seen, (std::vector<std::string>{"b"}));
}

TEST(FakeWorkspace, ItsCenterDeliversSynchronously) {
    FakePlatform fake;
    int slept = 0;
    workspace().notificationCenter().addObserver(&slept, Workspace::screensDidSleepNotification, [&] { ++slept; });
    fake.workspace->postScreensDidSleep();
    EXPECT_EQ(slept, 1);
    fake.workspace->postScreensDidWake();
    EXPECT_EQ(slept, 1);
}

TEST(FakeWorkspace, OpenApplicationRecordsAndCompletesLaterWithTheSetOutcome) {
    FakePlatform fake;
    fake.workspace->applications["org.kestrin.orvex.options"] = "/Applications/Quorvane Options.app";
    auto found = workspace().urlForApplication("org.kestrin.orvex.options");
    ASSERT_TRUE(found);
    EXPECT_FALSE(workspace().urlForApplication("org.example.none"));

    std::vector<std::optional<std::string>> outcomes;
    workspace().openApplication(*found, {{"--import", "e30="}, true}, [&](auto error) { outcomes.push_back(error); });
    fake.workspace->openError = "refused";
    workspace().openApplication(*found, {}, [&](auto error) { outcomes.push_back(error); });
    EXPECT_TRUE(outcomes.empty());
    fake.runUntilIdle();
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_FALSE(outcomes[0]);
    EXPECT_EQ(outcomes[1], "refused");
    ASSERT_EQ(fake.workspace->record().opens.size(), 2u);
    EXPECT_EQ(fake.workspace->record().opens[0].configuration.arguments, (std::vector<std::string>{"--import", "e30="}));
}

