#include "SaverViewFixture.hpp"

#include "Platform/Fake/Views/FakeLabelBackend.hpp"
#include "Platform/Fake/Views/FakeViewBackend.hpp"

#include <random>

using namespace orrelith;
using namespace orrelith::platform;
using namespace orrelith::testing;

namespace {

class SaverViewRotation : public SaverViewFixture {
protected:
    // Runs the clock to `t` seconds after the test's start.
    void at(double t) { fake.advanceBy(started_ + t - fake.queue->now()); }
    static bool onScreen(const std::shared_ptr<WebView>& web) { return web && web->superview(); }
    std::size_t animationsStarted() const { return fake.windows->record().animations.size(); }
};

TEST_F(SaverViewRotation, CrossfadeAndCaptionFollowTheirTimelineToTheInstant) {
    Settings settings = shuffling(600);
    settings.showSceneName = true;
    auto view = startWith(settings).view;
    auto first = view->web();
    finishLoad(*view);
    at(600);
    auto second = view->web();
    ASSERT_NE(second, first);
    EXPECT_EQ(view->outgoing(), first);
    EXPECT_EQ(second->alphaValue(), 0);
    const auto& stack = view->subviews();
    auto position = [&](const auto& web) { return std::find(stack.begin(), stack.end(), web) - stack.begin(); };
    EXPECT_EQ(position(second), position(first) + 1) << "the new page goes directly above the current one";

    at(602.5);
    finishLoad(*view);
    auto before = animationsStarted();
    at(603.29);
    EXPECT_EQ(animationsStarted(), before);
    at(603.3);
    ASSERT_EQ(animationsStarted(), before + 1);
    const auto& fade = fake.windows->record().animations.back();
    EXPECT_DOUBLE_EQ(fade.startedAt - started_, 603.3);
    EXPECT_DOUBLE_EQ(fade.duration, 1.6);
    ASSERT_TRUE(view->caption());
    EXPECT_EQ(view->caption()->text(), catalogCaption(*view->slug()));
    EXPECT_EQ(view->subviews().back(), view->caption());

    at(604.89);
    EXPECT_TRUE(onScreen(first));
    at(604.9);
    EXPECT_FALSE(onScreen(first));
    EXPECT_FALSE(view->outgoing());
    EXPECT_GT(FakeWebViewBackend::of(*first).webState.stops, 0u);
    EXPECT_DOUBLE_EQ(FakeBackendBase::of(*second).drawnAlpha(), 1.0);

    auto caption = view->caption();
    at(607.29);
    EXPECT_EQ(caption->alphaValue(), 1);
    at(607.3);
    EXPECT_EQ(caption->alphaValue(), 0);
    EXPECT_DOUBLE_EQ(fake.windows->record().animations.back().duration, 1.2);
    at(608.49);
    EXPECT_TRUE(caption->superview());
    at(608.5);
    EXPECT_FALSE(caption->superview());
}

TEST_F(SaverViewRotation, TwoQuickChangesShowBlackUntilTheLatestPageFadesIn) {
    auto view = startWith(shuffling(30)).view;
    auto shown = view->web();
    finishLoad(*view);
    at(30);
    auto firstNew = view->web();
    at(60);
    auto latest = view->web();
    EXPECT_FALSE(onScreen(shown)) << "the page shown before is removed at once";
    EXPECT_EQ(view->outgoing(), firstNew);
    EXPECT_EQ(webViewCount(*view), 2u);
    EXPECT_EQ(firstNew->alphaValue(), 0);
    EXPECT_EQ(latest->alphaValue(), 0);

    at(61);
    finishLoad(*view);
    at(63.4);
    EXPECT_FALSE(onScreen(firstNew));
    EXPECT_EQ(webViewCount(*view), 1u);
    EXPECT_EQ(view->web(), latest);
}

TEST_F(SaverViewRotation, WithoutCrossfadeThereIsNeverMoreThanOneWebView) {
    Settings settings = shuffling(30);
    settings.crossfade = false;
    auto view = startWith(settings).view;
    for (int tick = 1; tick <= 12; ++tick) {
        auto previous = view->web();
        at(30.0 * tick);
        EXPECT_EQ(webViewCount(*view), 1u) << "tick " << tick;
        EXPECT_EQ(view->web()->alphaValue(), 1);
        EXPECT_FALSE(view->outgoing());
        if (view->web() != previous) {
            EXPECT_GT(FakeWebViewBackend::of(*previous).webState.stops, 0u);
        }
        if (tick % 2)
            finishLoad(*view);
    }
}

struct TimerCase {
    const char* name;
    double interval;
    std::optional<std::string> pin;
    std::optional<std::string> slug;
    std::optional<double> period; // nothing: the display keeps its scene with no timer
};

class ShuffleTimer : public SaverViewFixture, public ::testing::WithParamInterface<TimerCase> {};

TEST_P(ShuffleTimer, RunsOnlyForAShufflingDisplayWithAPositiveInterval) {
    Settings settings = shuffling(GetParam().interval);
    if (GetParam().pin)
        settings.displays[leftKey] = DisplayMode::fixed(*GetParam().pin);
    auto view = startWith(settings).view;
    auto web = view->web();
    ASSERT_TRUE(web);
    if (GetParam().slug) {
        EXPECT_EQ(view->slug(), GetParam().slug);
    }
    ASSERT_EQ(view->timer() != nullptr, GetParam().period.has_value());
    if (GetParam().period) {
        EXPECT_EQ(view->timer()->period(), *GetParam().period);
    }
    fake.advanceBy(100000);
    EXPECT_EQ(view->web() == web, !GetParam().period);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShuffleTimer,
                         ::testing::Values(TimerCase{"pinned", 30, "delta", "delta", std::nullopt},
                                           TimerCase{"intervalZero", 0, std::nullopt, std::nullopt, std::nullopt},
                                           TimerCase{"negativeInterval", -5, std::nullopt, std::nullopt, std::nullopt},
                                           TimerCase{"pinToASceneTheCatalogLacks", 30, "nowhere", std::nullopt, 30.0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct CaptionCase {
    double height;
    double fontSize;
    double inset;
};

class CaptionPlacement : public SaverViewFixture, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(CaptionPlacement, SizesAndPlacesTheCaptionFromTheDisplayHeight) {
    fake.screens->list[0]->frameValue = Rect::make(0, 0, GetParam().height * 16 / 9, GetParam().height);
    Settings settings = shuffling(600);
    settings.showSceneName = true;
    settings.displays[leftKey] = DisplayMode::fixed("alpha");
    auto view = startWith(settings).view;
    finishLoad(*view);
    fake.advanceBy(0.8);
    auto caption = view->caption();
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->text(), "CH 07 \u00B7 Bridge");
    EXPECT_EQ(caption->font(), Font::monospacedSystemFont(GetParam().fontSize, Font::Weight::Medium));
    EXPECT_EQ(caption->textColor(), Color::white(0.85, 1));
    EXPECT_EQ(caption->shadow(), std::optional<Shadow>(Shadow{Color::black(), 6, {}}));
    EXPECT_DOUBLE_EQ(caption->frame().minX(), GetParam().inset);
    EXPECT_DOUBLE_EQ(caption->frame().minY(), GetParam().inset);
    EXPECT_EQ(caption->frame().size, FakeLabelBackend::of(*caption).fittingSize());
}

INSTANTIATE_TEST_SUITE_P(Heights, CaptionPlacement,
                         ::testing::Values(CaptionCase{1440, 1440.0 / 70, 48}, CaptionCase{600, 12, 20}),
                         [](const auto& info) { return std::to_string(static_cast<int>(info.param.height)) + "High"; });

struct PolicyCase {
    const char* name;
    std::optional<std::string> url;
    NavigationType type;
    NavigationActionPolicy expected;
};

class NavigationPolicy : public SaverViewFixture, public ::testing::WithParamInterface<PolicyCase> {};

TEST_P(NavigationPolicy, AllowsOnlyProgramAndScriptLoadsWithinTheBundle) {
    auto view = startWith(shuffling(600)).view;
    auto answer = FakeWebViewBackend::of(*view->web()).decidePolicy({GetParam().url, GetParam().type});
    EXPECT_EQ(answer, std::optional<NavigationActionPolicy>(GetParam().expected));
}

constexpr auto allow = NavigationActionPolicy::Allow, cancel = NavigationActionPolicy::Cancel;
using Nav = NavigationType;

INSTANTIATE_TEST_SUITE_P(
    Table, NavigationPolicy,
    ::testing::Values(PolicyCase{"programLoad", "orrelith://bundle/alpha.html", Nav::Other, allow},
                      PolicyCase{"scriptToOtherScene", "orrelith://bundle/helm/index.html", Nav::Other, allow},
                      PolicyCase{"linkInBundle", "orrelith://bundle/beta.html", Nav::LinkActivated, cancel},
                      PolicyCase{"formInBundle", "orrelith://bundle/beta.html", Nav::FormSubmitted, cancel},
                      PolicyCase{"backForward", "orrelith://bundle/beta.html", Nav::BackForward, cancel},
                      PolicyCase{"reload", "orrelith://bundle/alpha.html", Nav::Reload, cancel},
                      PolicyCase{"formResubmitted", "orrelith://bundle/alpha.html", Nav::FormResubmitted, cancel},
                      PolicyCase{"scriptToHttps", "https://example.org/", Nav::Other, cancel},
                      PolicyCase{"scriptToHttp", "http://127.0.0.1/", Nav::Other, cancel},
                      PolicyCase{"file", "file:///etc/passwd", Nav::Other, cancel},
                      PolicyCase{"aboutBlank", "about:blank", Nav::Other, cancel},
                      PolicyCase{"data", "data:text/html,hi", Nav::Other, cancel},
                      PolicyCase{"lookalikeScheme", "orrelithx://bundle/a.html", Nav::Other, cancel},
                      PolicyCase{"noURL", std::nullopt, Nav::Other, cancel}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaverViewRotation, ACrashOfTheCurrentPageRebuildsTheSameScene) {
    auto view = startWith(shuffling(600)).view;
    finishLoad(*view);
    auto crashed = view->web();
    auto slug = *view->slug();
    FakeWebViewBackend::of(*crashed).terminateWebContentProcess();
    ASSERT_NE(view->web(), crashed);
    EXPECT_EQ(view->slug(), std::optional<std::string>(slug));
    EXPECT_EQ(view->outgoing(), crashed);
    EXPECT_EQ(FakeWebViewBackend::of(*view->web()).webState.loads.back().request.url, SceneWeb::url(slug));
}

TEST_F(SaverViewRotation, TheOutgoingPageCrashingOrAReplacedPageFinishingChangesNothing) {
    auto view = startWith(shuffling(30)).view;
    finishLoad(*view);
    at(30);
    auto web = view->web();
    auto outgoing = view->outgoing();
    ASSERT_TRUE(outgoing);
    FakeWebViewBackend::of(*outgoing).terminateWebContentProcess();
    EXPECT_EQ(view->web(), web);
    EXPECT_EQ(view->outgoing(), outgoing);

    at(60);
    auto before = animationsStarted();
    FakeWebViewBackend::of(*web).finishNavigation();
    at(62);
    EXPECT_EQ(animationsStarted(), before);
}

TEST_F(SaverViewRotation, EveryPoolSceneShowsOnceBeforeAnyRepeatsAcrossTwoDisplays) {
    Settings settings = shuffling(30);
    settings.shufflePool = std::vector<std::string>{"alpha", "beta", "gamma", "delta"};
    save(settings);
    auto left = startDisplay(0).view;
    auto right = startDisplay(1).view;
    compileRules();
    for (int tick = 1; tick <= 40; ++tick) {
        at(30.0 * tick);
        ASSERT_NE(*left->slug(), *right->slug()) << "tick " << tick;
        for (const auto& slug : {*left->slug(), *right->slug()})
            EXPECT_NE(slug, "epsilon");
    }
}

// A long random run over three displays, checking the invariants after every step.
class SaverViewSoak : public SaverViewRotation {
protected:
    std::size_t startsSeen = 0;
    bool wantedNow() const {
        for (const auto& [key, view] : SaverView::live()) {
            auto window = view->window();
            if (view->isRunning() && !view->isAsleep() && window && window->isVisible())
                return true;
        }
        return false;
    }
    void check(const std::vector<Display>& all, double& lastWanted) {
        for (const auto& display : all) {
            ASSERT_LE(webViewCount(*display.view), 2u);
            if (display.view->isRunning())
                continue;
            for (const auto& [key, view] : SaverView::live())
                ASSERT_NE(view, display.view) << "a torn-down view stays registered";
        }
        // Three shuffle timers at most, plus the ambience's ramp and watchdog.
        ASSERT_LE(fake.queue->liveTimerCount(), all.size() + 2);
        // A start may come while nothing wants the sound (a display waking behind a hidden window): the
        // watchdog then has one second, as it has after the last display stopped wanting it.
        if (fake.audio->record().engineStarts != startsSeen) {
            startsSeen = fake.audio->record().engineStarts;
            lastWanted = std::max(lastWanted, fake.queue->now());
        }
        if (soundPlaying()) {
            ASSERT_LE(fake.queue->now() - lastWanted, 1.0 + 1e-9) << "sound without a display that wants it";
        }
    }
};

TEST_F(SaverViewSoak, TenThousandSceneChangesKeepEveryInvariant) {
    fake.screens->add(Rect::make(-1280, 0, 1280, 1024), "Side Display", 3);
    save(shuffling(30));
    std::vector<Display> all{startDisplay(0), startDisplay(1), startDisplay(2)};
    std::mt19937 random(20261206);
    double lastWanted = 0;
    while (fake.web->record().configurations.size() < 10000) {
        int action = static_cast<int>(random() % 100);
        auto& display = all[random() % all.size()];
        if (action < 50) {
            double step = 1 + static_cast<double>(random() % 4000) / 100;
            // Advance in short steps so the sound check sees every second.
            for (double done = 0; done < step; done += 0.5) {
                fake.advanceBy(0.5);
                if (wantedNow())
                    lastWanted = fake.queue->now();
                check(all, lastWanted);
            }
        } else if (action < 65) {
            if (display.view->web())
                finishLoad(*display.view);
        } else if (action < 70) {
            compileRules();
        } else if (action < 75) {
            fake.workspace->postScreensDidSleep();
        } else if (action < 82) {
            fake.workspace->postScreensDidWake();
        } else if (action < 84) {
            distributedCenter().post("com.apple.screensaver.willstop");
        } else if (action < 88) {
            display.view->stopAnimation();
        } else if (action < 95) {
            display.view->startAnimation();
        } else if (action < 97) {
            display.window->orderOut();
        } else {
            display.window->orderFront();
        }
        fake.runUntilIdle();
        if (wantedNow())
            lastWanted = fake.queue->now();
        check(all, lastWanted);
    }
}

} // namespace
