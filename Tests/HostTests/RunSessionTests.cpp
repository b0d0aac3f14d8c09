#include "Host/HostError.hpp"
#include "Host/RunSession.hpp"
#include "Platform/Views/Button.hpp"
#include "Platform/Fake/FakePlatform.hpp"
#include "ProbeView.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace orrelith::host;
using namespace orrelith::platform;

namespace {

using Posts = std::vector<std::string>;
using Plan = RunSession::Plan;

Plan planned(const std::function<void(Plan&)>& change) {
    Plan plan;
    change(plan);
    return plan;
}
using Kind = UserEvent::Kind;

const std::string willStop = orrelith::platform::ScreenSaverView::willStopNotification;
const std::string didStop = orrelith::platform::ScreenSaverView::didStopNotification;

class RunSessionTest : public ::testing::Test {
protected:
    std::shared_ptr<RunSession> makeSession(RunSession::Plan plan, ProbeView::Options options = {}) {
        return RunSession::create(
            ProbeView::entry(options), std::move(plan), [this](const std::string& line) { said.push_back(line); },
            [this] {
                ++finishes;
                deliveriesAtFinish = fake.distributed->record().deliveries.size();
            });
    }
    // Only the probe's posts and the host's own, in order.
    const Posts& posts() const { return fake.distributed->record().posts; }
    long postCount(const std::string& name) const { return std::count(posts().begin(), posts().end(), name); }
    void twoScreens() {
        fake.screens->add(Rect::make(0, 0, 1440, 900), "Built-in", 1);
        fake.screens->add(Rect::make(1440, 100, 1920, 1080), "Wide", 2);
    }
    static FakeWindowBackend& backend(const SaverStage& stage) { return FakeWindowBackend::of(*stage.window); }

    FakePlatform fake;
    std::vector<std::string> said;
    int finishes = 0;
    std::size_t deliveriesAtFinish = 0;
};

TEST_F(RunSessionTest, AMonitorAttachedDuringARunGetsAViewAndOneDetachedHasItsViewStopped) {
    twoScreens();
    auto session = makeSession({});
    session->start();
    fake.runUntilIdle();
    auto gone = session->stages()[0];
    fake.screens->list.erase(fake.screens->list.begin());
    fake.screens->add(Rect::make(-1280, 0, 1280, 1024), "Side", 3);
    ASSERT_TRUE(fake.screens->changeHandler);
    fake.screens->changeHandler();
    fake.runUntilIdle();
    ASSERT_EQ(session->stages().size(), 2u);
    EXPECT_FALSE(gone.view->isAnimating());
    EXPECT_TRUE(gone.window->isClosed());
    EXPECT_EQ(session->stages()[0].screen, fake.screens->list[0]);
    EXPECT_EQ(session->stages()[1].screen, fake.screens->list[1]);
    EXPECT_TRUE(session->stages()[1].view->isAnimating());
    EXPECT_EQ(backend(session->stages()[1]).state.fullScreenOn, fake.screens->list[1].get());

    session->end();
    EXPECT_FALSE(fake.screens->changeHandler) << "an ended run follows no monitor";
}

TEST_F(RunSessionTest, FullScreenShowsEachMonitorItsOwnViewInABorderlessWindowStartsItAndEndingStopsEachThenFinishesLater) {
    twoScreens();
    auto session = makeSession({});
    session->start();
    ASSERT_EQ(session->stages().size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        auto& stage = session->stages()[i];
        auto& screen = fake.screens->list[i];
        EXPECT_EQ(backend(stage).state.fullScreenOn, screen.get());
        EXPECT_EQ(stage.window->frame(), screen->frame());
        EXPECT_EQ(stage.window->style(), WindowStyle::Borderless);
        EXPECT_EQ(stage.window->contentView(), stage.view);
        EXPECT_TRUE(backend(stage).state.shown);
        EXPECT_FALSE(stage.view->isPreview());
        EXPECT_TRUE(stage.view->isAnimating());
    }
    EXPECT_EQ(posts(), (Posts{"probe.start fullscreen 1440x900 shown", "probe.start fullscreen 1920x1080 shown"}))
        << "each view is started once, after its window is shown";
    // Each window remembers the first pointer position it saw.
    backend(session->stages()[0]).simulateUserEvent({Kind::PointerMotion, {10, 10}});
    backend(session->stages()[1]).simulateUserEvent({Kind::PointerMotion, {900, 500}});
    backend(session->stages()[0]).simulateUserEvent({Kind::PointerMotion, {12, 12}});
    fake.runUntilIdle();
    EXPECT_FALSE(session->hasEnded());

    // Ending posts will-stop, stops every view, posts did-stop, closes the windows, then finishes later.
    auto observed = std::make_shared<Posts>();
    fake.distributed->addObserver(this, willStop, [observed] { observed->push_back(willStop); });
    fake.distributed->addObserver(this, didStop, [observed] { observed->push_back(didStop); });
    session->end();
    EXPECT_EQ(posts(), (Posts{"probe.start fullscreen 1440x900 shown", "probe.start fullscreen 1920x1080 shown",
                              willStop, "probe.stop", "probe.stop", didStop}));
    for (auto& stage : session->stages()) {
        EXPECT_TRUE(stage.window->isClosed());
        EXPECT_FALSE(stage.view->isAnimating());
    }
    EXPECT_EQ(finishes, 0) << "not inside end";
    fake.runUntilIdle();
    EXPECT_EQ(finishes, 1);
    EXPECT_EQ(deliveriesAtFinish, 2u) << "observers here have both notifications before the host finishes";
    EXPECT_EQ(*observed, (Posts{willStop, didStop}));
    session->end();
    fake.runUntilIdle();
    EXPECT_EQ(finishes, 1);
    EXPECT_EQ(posts().size(), 6u) << "a second end does nothing";
    EXPECT_EQ(session->exitStatus(), 0);
    fake.distributed->removeObserver(this);

    ClassRegistry::Entry nothing{[](const Rect&, SaverMode) { return std::shared_ptr<ScreenSaverView>(); }, {}};
    EXPECT_THROW(RunSession::create(nothing, {}, [](const std::string&) {}, [] {})->start(), HostError)
        << "a principal class that makes no view is a failure";
}

TEST_F(RunSessionTest, EachViewAnimatesOneFrameEveryAnimationIntervalUntilTheEnd) {
    twoScreens();
    auto session = makeSession({}, {.hasConfigureSheet = true, .animationTimeInterval = 30});
    session->start();
    fake.advanceBy(29.9);
    EXPECT_EQ(postCount("probe.frame"), 0);
    fake.advanceBy(0.1);
    EXPECT_EQ(postCount("probe.frame"), 2);
    fake.advanceBy(60);
    EXPECT_EQ(postCount("probe.frame"), 6);
    session->end();
    fake.advanceBy(300);
    EXPECT_EQ(postCount("probe.frame"), 6);
    EXPECT_EQ(fake.queue->liveTimerCount(), 0u);
}

TEST_F(RunSessionTest, InFullScreenTheUsersActivityEndsTheRunButAStillPointerDoesNot) {
    struct Case {
        std::string name;
        std::vector<UserEvent> events;
        bool ends;
    };
    const std::vector<Case> cases{
        {"a key", {{Kind::KeyPress, {}}}, true},
        {"a click", {{Kind::ButtonPress, {5, 5}}}, true},
        {"a scroll", {{Kind::Scroll, {}}}, true},
        {"a close request", {{Kind::CloseRequest, {}}}, true},
        {"the pointer seen where the window appeared", {{Kind::PointerMotion, {400, 300}}}, false},
        {"a nudge", {{Kind::PointerMotion, {400, 300}}, {Kind::PointerMotion, {405, 306}}}, false},
        {"a movement", {{Kind::PointerMotion, {400, 300}}, {Kind::PointerMotion, {409, 300}}}, true},
        {"a slow drift away", {{Kind::PointerMotion, {0, 0}}, {Kind::PointerMotion, {5, 0}}, {Kind::PointerMotion, {10, 0}}}, true},
    };
    twoScreens();
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        auto session = makeSession({});
        session->start();
        for (auto& event : test.events)
            backend(session->stages()[1]).simulateUserEvent(event);
        EXPECT_FALSE(session->hasEnded()) << "never inside the toolkit's event delivery";
        fake.runUntilIdle();
        EXPECT_EQ(session->hasEnded(), test.ends);
        session->end();
        fake.runUntilIdle();
    }
}

TEST_F(RunSessionTest, ThePreviewIsOneSmallTitledWindowThatOnlyItsCloseButtonEnds) {
    auto session = makeSession(planned([](Plan& p) { p.mode = HostMode::Preview; p.title = "Quorvane"; }));
    session->start();
    ASSERT_EQ(session->stages().size(), 1u);
    auto& stage = session->stages()[0];
    EXPECT_EQ(stage.window->frame().size, (Size{296, 184}));
    EXPECT_EQ(stage.window->title(), "Quorvane");
    EXPECT_NE(stage.window->style(), WindowStyle::Borderless);
    EXPECT_EQ(backend(stage).state.fullScreenOn, nullptr);
    EXPECT_EQ(posts(), (Posts{"probe.start preview 296x184 shown"}));
    for (auto kind : {Kind::KeyPress, Kind::ButtonPress, Kind::Scroll})
        backend(stage).simulateUserEvent({kind, {}});
    backend(stage).simulateUserEvent({Kind::PointerMotion, {1, 1}});
    backend(stage).simulateUserEvent({Kind::PointerMotion, {200, 100}});
    fake.runUntilIdle();
    EXPECT_FALSE(session->hasEnded());
    backend(stage).simulateUserEvent({Kind::CloseRequest, {}});
    fake.runUntilIdle();
    EXPECT_TRUE(session->hasEnded());
    EXPECT_EQ(posts().back(), didStop);
}

std::shared_ptr<Button> optionsButton(const SaverStage& stage) {
    for (auto& view : stage.window->contentView()->subviews())
        if (auto button = std::dynamic_pointer_cast<Button>(view))
            return button;
    return nullptr;
}

TEST_F(RunSessionTest, TheSettingsWindowsOptionsPresentsTheViewsConfigurationSheetOnItOnceAndOnlyIfItHasOne) {
    auto session = makeSession(planned([](Plan& p) { p.mode = HostMode::Settings; p.title = "Quorvane"; }));
    session->start();
    auto& stage = session->stages()[0];
    EXPECT_EQ(stage.window->frame().size, (Size{296, 228}));
    EXPECT_EQ(stage.view->frame(), Rect::make(0, 44, 296, 184)) << "the preview above the button bar";
    auto button = optionsButton(stage);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->title(), "Options\u2026");
    EXPECT_GE(button->frame().minY(), 0);
    EXPECT_LE(button->frame().maxY(), 44);
    EXPECT_LE(button->frame().maxX(), 296);

    button->performClick();
    auto sheet = stage.window->attachedSheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->sheetParent(), stage.window);
    EXPECT_EQ(backend(stage).state.sheetsBegun.size(), 1u);
    button->performClick();
    EXPECT_EQ(postCount("probe.configureSheet"), 1) << "not while one is up";

    session->end();
    EXPECT_TRUE(sheet->isClosed());
    EXPECT_FALSE(stage.window->attachedSheet());

    auto without = makeSession(planned([](Plan& p) { p.mode = HostMode::Settings; }),
                               {.hasConfigureSheet = false, .animationTimeInterval = 30});
    without->start();
    optionsButton(without->stages()[0])->performClick();
    EXPECT_FALSE(without->stages()[0].window->attachedSheet());
    EXPECT_EQ(postCount("probe.configureSheet"), 1) << "a view without a sheet is not asked for one";
}

TEST_F(RunSessionTest, ARunEndsAtItsDurationAndItsScreenshotShowsEveryWindowAtItsDelayOrEarlierEndOrFailsIt) {
    twoScreens();
    auto session = makeSession(planned([](Plan& p) {
        p.duration = 20; p.screenshot = "/tmp/run.png"; p.screenshotDelay = 6;
    }));
    fake.advanceBy(3);
    session->start();
    fake.advanceBy(19.999);
    EXPECT_FALSE(session->hasEnded());
    fake.advanceBy(0.001);
    EXPECT_TRUE(session->hasEnded()) << "exactly the duration after the start";
    fake.runUntilIdle();
    EXPECT_EQ(finishes, 1);
    fake.advanceBy(7);
    auto& taken = fake.windows->record().screenshots;
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].png, "/tmp/run.png");
    EXPECT_DOUBLE_EQ(taken[0].takenAt, 9);
    EXPECT_EQ(taken[0].windowFrames, (std::vector<Rect>{fake.screens->list[0]->frame(), fake.screens->list[1]->frame()}));
    EXPECT_EQ(said, (std::vector<std::string>{"screenshot written to /tmp/run.png"}));
    EXPECT_EQ(session->exitStatus(), 0);

    auto early = makeSession(planned([](Plan& p) { p.screenshot = "/tmp/early.png"; p.screenshotDelay = 6; }));
    early->start();
    fake.advanceBy(2);
    backend(early->stages()[0]).simulateUserEvent({Kind::KeyPress, {}});
    fake.advanceBy(10);
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_DOUBLE_EQ(taken[1].takenAt, 32);
    EXPECT_EQ(taken[1].windowFrames.size(), 2u);

    said.clear();
    fake.windows->screenshotFailure = "cannot write /nowhere/x.png";
    auto failing = makeSession(planned([](Plan& p) {
        p.duration = 8; p.screenshot = "/nowhere/x.png"; p.screenshotDelay = 1;
    }));
    failing->start();
    fake.advanceBy(10);
    EXPECT_EQ(said, (std::vector<std::string>{"no screenshot: cannot write /nowhere/x.png"}));
    EXPECT_TRUE(failing->hasEnded());
    EXPECT_EQ(failing->exitStatus(), 1);
}

} // namespace
