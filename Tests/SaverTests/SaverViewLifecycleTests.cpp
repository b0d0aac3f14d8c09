#include "SaverViewFixture.hpp"

#include "Platform/System/Workspace.hpp"

using namespace orrelith;
using namespace orrelith::platform;
using namespace orrelith::testing;

namespace {

class SaverViewLifecycle : public SaverViewFixture {};

const FakeWebLoad& lastLoad(const WebView& web) { return FakeWebViewBackend::of(web).webState.loads.back(); }

bool unloaded(const WebView& web) {
    const auto& state = FakeWebViewBackend::of(web).webState;
    return state.stops > 0 && !state.loads.empty() && state.loads.back().kind == FakeWebLoad::Kind::HTMLString &&
           state.loads.back().html.empty() && !web.superview();
}

TEST_F(SaverViewLifecycle, StartBeforeTheWindowShowsNothingUntilTheWindowArrives) {
    save(shuffling(600));
    auto view = makeView(0);
    view->startAnimation();
    compileRules();
    fake.runUntilIdle();
    EXPECT_FALSE(view->web());
    EXPECT_TRUE(SaverView::live().empty());

    auto window = putInWindow(view, 0);
    compileRules();
    fake.runUntilIdle();
    ASSERT_TRUE(view->web());
    EXPECT_EQ(view->displayKey(), std::optional<std::string>(leftKey));
    EXPECT_EQ(SaverView::live().at(leftKey), view);
    EXPECT_EQ(lastLoad(*view->web()).request.url, SceneWeb::url(*view->slug()));
    EXPECT_EQ(lastLoad(*view->web()).request.timeoutInterval, 60);
    view->stopAnimation();
}

TEST_F(SaverViewLifecycle, ASecondStartWithoutStopOrAWakeWithoutSleepDoesNothing) {
    auto display = startWith(shuffling(600));
    auto first = display.view->web();
    auto loads = fake.web->record().configurations.size();
    display.view->startAnimation();
    compileRules();
    fake.workspace->postScreensDidWake();
    fake.runUntilIdle();
    EXPECT_EQ(display.view->web(), first);
    EXPECT_EQ(fake.web->ruleLists->compilations().size(), 1u);
    EXPECT_EQ(fake.queue->record().repeatingPeriods.size(), 1u);
    EXPECT_EQ(fake.web->record().configurations.size(), loads);
}

TEST_F(SaverViewLifecycle, WillStopSilencesAtOnceAndBothStopNotificationsTearDownOnce) {
    auto display = startWith(shuffling(600));
    ASSERT_TRUE(soundPlaying());
    auto web = display.view->web();

    distributedCenter().post("com.apple.screensaver.willstop");
    fake.runUntilIdle();
    EXPECT_FALSE(soundPlaying());
    EXPECT_FALSE(display.view->isRunning());
    EXPECT_TRUE(unloaded(*web));
    EXPECT_TRUE(SaverView::live().empty());
    EXPECT_FALSE(display.view->timer());
    auto stopsAfterFirst = fake.audio->record().engineStops;

    distributedCenter().post("com.apple.screensaver.didstop");
    fake.runUntilIdle();
    EXPECT_EQ(fake.audio->record().engineStops, stopsAfterFirst);
    EXPECT_FALSE(display.view->web());
    EXPECT_EQ(FakeWebViewBackend::of(*web).webState.loads.size(), 2u);
}

TEST_F(SaverViewLifecycle, SoundGoesOnUntilTheLastOfTwoDisplaysIsTornDown) {
    save(shuffling(600));
    auto left = startDisplay(0);
    auto right = startDisplay(1);
    compileRules();
    ASSERT_TRUE(left.view->web() && right.view->web());
    EXPECT_NE(*left.view->slug(), *right.view->slug());

    left.view->stopAnimation();
    EXPECT_FALSE(left.view->web());
    EXPECT_TRUE(right.view->web());
    EXPECT_TRUE(soundPlaying());
    EXPECT_EQ(SaverView::live().count(leftKey), 0u);
    EXPECT_EQ(SceneChooser::shared().showing().count(leftKey), 0u);

    right.view->stopAnimation();
    EXPECT_FALSE(soundPlaying());
    EXPECT_TRUE(SaverView::live().empty());
}

TEST_F(SaverViewLifecycle, SleepUnloadsBothDisplaysAndWakeBringsBackTheirScenesWithAFreshInterval) {
    save(shuffling(600));
    auto left = startDisplay(0);
    auto right = startDisplay(1);
    compileRules();
    auto leftWeb = left.view->web();
    auto leftSlug = *left.view->slug();
    auto rightSlug = *right.view->slug();
    fake.advanceBy(100);

    fake.workspace->postScreensDidSleep();
    EXPECT_FALSE(left.view->isAsleep()) << "the handler re-queues its work";
    fake.runUntilIdle();
    EXPECT_TRUE(left.view->isAsleep() && right.view->isAsleep());
    EXPECT_TRUE(unloaded(*leftWeb));
    EXPECT_FALSE(left.view->web() || right.view->web() || left.view->timer());
    EXPECT_FALSE(soundPlaying());
    EXPECT_EQ(SaverView::live().size(), 2u);

    fake.advanceBy(1000);
    fake.workspace->postScreensDidWake();
    fake.runUntilIdle();
    ASSERT_TRUE(left.view->web() && right.view->web());
    EXPECT_EQ(*left.view->slug(), leftSlug);
    EXPECT_EQ(*right.view->slug(), rightSlug);
    EXPECT_TRUE(soundPlaying());
    auto wokeWith = left.view->web();
    fake.advanceBy(599.999);
    EXPECT_EQ(left.view->web(), wokeWith);
    fake.advanceBy(0.001);
    EXPECT_NE(left.view->web(), wokeWith);
}

TEST_F(SaverViewLifecycle, SoundStopsOnlyOnceEveryRegisteredViewSleepsOrIsHidden) {
    save(shuffling(600));
    auto left = startDisplay(0);
    auto right = startDisplay(1);
    compileRules();
    // Only one view hears this sleep: the other display keeps running.
    fake.workspace->center->removeObserver(right.view.get());
    fake.workspace->postScreensDidSleep();
    fake.runUntilIdle();
    EXPECT_TRUE(left.view->isAsleep());
    EXPECT_FALSE(right.view->isAsleep());
    EXPECT_TRUE(soundPlaying());
    // The watchdog silences it once the window of the one view that wanted it is hidden.
    right.window->orderOut();
    fake.advanceBy(1.0);
    EXPECT_FALSE(soundPlaying());
}

struct PreviewCase {
    const char* name;
    std::optional<std::string> pin;
    std::optional<std::vector<std::string>> pool;
    std::string expected;
};

class PreviewChoice : public SaverViewFixture, public ::testing::WithParamInterface<PreviewCase> {};

TEST_P(PreviewChoice, ShowsAStillOfTheChosenSceneAndNothingElse) {
    Settings settings = shuffling(30);
    if (GetParam().pin)
        settings.displays[leftKey] = DisplayMode::fixed(*GetParam().pin);
    settings.shufflePool = GetParam().pool;
    save(settings);
    // Every draw 1: the second of the pool, in catalog order.
    SceneChooser::shared().setRandom([] { return std::uint64_t{1}; });
    auto view = SaverView::create(Rect::make(0, 0, 296, 184), SaverMode::Preview);
    view->startAnimation();
    compileRules();
    fake.runUntilIdle();
    ASSERT_TRUE(view->thumbnail());
    auto image = view->thumbnail()->image();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->path().stem().string(), GetParam().expected);
    EXPECT_EQ(view->thumbnail()->imageScaling(), ImageScaling::ProportionallyUpOrDown);
    EXPECT_EQ(view->thumbnail()->frame(), view->bounds());
    EXPECT_FALSE(view->web() || view->timer() || view->displayKey());
    EXPECT_TRUE(SaverView::live().empty());
    EXPECT_FALSE(soundPlaying());
    EXPECT_TRUE(fake.web->record().configurations.empty());
    view->stopAnimation();
    EXPECT_FALSE(view->thumbnail());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PreviewChoice,
    ::testing::Values(PreviewCase{"pinned", "gamma", std::nullopt, "gamma"},
                      PreviewCase{"pinToMissingUsesPool", "nowhere", std::vector<std::string>{"beta", "delta"}, "delta"},
                      PreviewCase{"pool", std::nullopt, std::vector<std::string>{"delta"}, "delta"},
                      PreviewCase{"emptyPoolMeansAll", std::nullopt, std::vector<std::string>{}, "beta"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaverViewLifecycle, AViewFromAnArchiveHearsNoNotificationsAndLeavesTheSoundPredicateAlone) {
    auto archived = SaverView::create(Archive{});
    EXPECT_EQ(fake.distributed->observerCount("com.apple.screensaver.willstop"), 0u);
    EXPECT_EQ(fake.workspace->center->observerCount(Workspace::screensDidSleepNotification), 0u);
    EXPECT_FALSE(Ambience::stillWanted && Ambience::stillWanted());

    auto display = startWith(shuffling(600));
    EXPECT_EQ(fake.distributed->observerCount("com.apple.screensaver.willstop"), 1u);
    EXPECT_EQ(fake.distributed->observerCount("com.apple.screensaver.didstop"), 1u);
    EXPECT_EQ(fake.workspace->center->observerCount(Workspace::screensDidWakeNotification), 1u);
    EXPECT_TRUE(Ambience::stillWanted());
    display.view->stopAnimation();
    displays_.clear();
    display = {};
    EXPECT_EQ(fake.distributed->observerCount("com.apple.screensaver.willstop"), 0u) << "destruction removes it";
}

TEST_F(SaverViewLifecycle, AMissingCatalogLeavesTheDisplayBlackAndTheNextStartTriesAgain) {
    std::filesystem::rename(resources() / "ORVEX/catalog.json", root_ / "catalog.json");
    auto display = startWith(shuffling(600));
    fake.runUntilIdle();
    EXPECT_FALSE(display.view->catalog());
    EXPECT_FALSE(display.view->web());
    EXPECT_EQ(display.view->layerBackgroundColor(), Color::black());
    display.view->stopAnimation();

    std::filesystem::rename(root_ / "catalog.json", resources() / "ORVEX/catalog.json");
    display.view->startAnimation();
    compileRules();
    EXPECT_TRUE(display.view->web());
}

TEST_F(SaverViewLifecycle, AFailedRuleListCompilationStillShowsTheScene) {
    save(shuffling(600));
    auto display = startDisplay(0);
    fake.web->ruleLists->fail(0);
    ASSERT_TRUE(display.view->web());
    EXPECT_TRUE(display.view->web()->configuration().userContentController.contentRuleLists().empty());
}

} // namespace
