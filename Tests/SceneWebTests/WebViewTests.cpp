#include "Platform/Web/WebView.hpp"

#include "Platform/Fake/FakePlatform.hpp"

#include <gtest/gtest.h>

namespace orrelith::platform {
namespace {

struct RecordingDelegate : NavigationDelegate {
    void didFinishNavigation(WebView&) override {
        if (onFinish)
            onFinish();
    }
    void decidePolicyForNavigationAction(WebView&, const NavigationAction& action,
                                         std::function<void(NavigationActionPolicy)> handler) override {
        actions.push_back(action);
        pending.push_back(std::move(handler));
    }
    void webContentProcessDidTerminate(WebView&) override {}

    std::vector<NavigationAction> actions;
    std::vector<std::function<void(NavigationActionPolicy)>> pending;
    std::function<void()> onFinish;
};

struct RecordingHandler : URLSchemeHandler {
    void startURLSchemeTask(WebView&, std::shared_ptr<URLSchemeTask> task) override {
        started.push_back(task->request().url.value_or(""));
    }
    void stopURLSchemeTask(WebView&, std::shared_ptr<URLSchemeTask> task) override {
        stopped.push_back(task->request().url.value_or(""));
    }
    std::vector<std::string> started;
    std::vector<std::string> stopped;
};

class WebViewTest : public ::testing::Test {
protected:
    WebViewTest() {
        WebViewConfiguration configuration;
        configuration.setURLSchemeHandler(handler, "Orrelith");
        view = WebView::create(Rect::make(0, 0, 100, 100), configuration);
        view->setNavigationDelegate(delegate);
    }
    FakeWebViewBackend& engine() const { return FakeWebViewBackend::of(*view); }

    FakePlatform fake;
    std::shared_ptr<RecordingHandler> handler = std::make_shared<RecordingHandler>();
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
    std::shared_ptr<WebView> view;
};

TEST_F(WebViewTest, HoldsItsDelegateWeakly) {
    std::weak_ptr<RecordingDelegate> weak = delegate;
    delegate.reset();
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(view->navigationDelegate(), nullptr);
    engine().finishNavigation();
    EXPECT_EQ(engine().decidePolicy({"orrelith://bundle/a.html", NavigationType::Other}), NavigationActionPolicy::Allow);
}

TEST_F(WebViewTest, TheFirstPolicyAnswerCountsEvenWhenItComesLaterNoneCancelsAndTheSchemeIsLowerCased) {
    NavigationAction action{"https://example.com/", NavigationType::LinkActivated};
    EXPECT_EQ(engine().decidePolicy(action), std::nullopt);
    ASSERT_EQ(delegate->actions, std::vector<NavigationAction>{action});
    EXPECT_EQ(delegate->actions[0].scheme(), "https");
    auto handlerCopy = delegate->pending[0];
    delegate->pending[0](NavigationActionPolicy::Cancel);
    handlerCopy(NavigationActionPolicy::Allow);
    EXPECT_EQ(engine().decisions(), std::vector<NavigationActionPolicy>{NavigationActionPolicy::Cancel});

    engine().decidePolicy({"orrelith://bundle/", NavigationType::Other});
    EXPECT_EQ(engine().decisions().size(), 1u);
    delegate->pending.clear();
    EXPECT_EQ(engine().decisions(), (std::vector{NavigationActionPolicy::Cancel, NavigationActionPolicy::Cancel}))
        << "a handler dropped unanswered cancels the navigation";

    // An action's scheme is the lower-cased part before the colon.
    const std::vector<std::pair<std::optional<std::string>, std::optional<std::string>>> table = {
        {"orrelith://bundle/", "orrelith"}, {"HTTPS://x", "https"},    {"about:blank", "about"},
        {"data:text/html,x", "data"},       {"/relative/path", std::nullopt}, {"no-colon", std::nullopt},
        {"1http://x", std::nullopt},        {"", std::nullopt},       {std::nullopt, std::nullopt},
    };
    for (const auto& [url, scheme] : table)
        EXPECT_EQ((NavigationAction{url, NavigationType::Other}.scheme()), scheme) << url.value_or("(none)");
}

TEST_F(WebViewTest, StaysAliveWhileItsDelegateDropsTheLastReference) {
    std::weak_ptr<WebView> weak = view;
    bool aliveDuringEvent = false;
    delegate->onFinish = [&] {
        view.reset();
        aliveDuringEvent = !weak.expired();
    };
    FakeWebViewBackend& backend = FakeWebViewBackend::of(*weak.lock());
    backend.finishNavigation();
    EXPECT_TRUE(aliveDuringEvent);
    EXPECT_TRUE(weak.expired());
}

TEST_F(WebViewTest, RoutesSchemeTasksToTheHandlerOfTheirSchemeWithoutCaseAndLoadsOnlyWithAURL) {
    engine().startSchemeTask("ORRELITH://bundle/a.css");
    auto task = engine().startSchemeTask("orrelith://bundle/b.js");
    engine().stopSchemeTask(task);
    auto other = engine().startSchemeTask("https://example.com/");
    EXPECT_EQ(handler->started, (std::vector<std::string>{"ORRELITH://bundle/a.css", "orrelith://bundle/b.js"}));
    EXPECT_EQ(handler->stopped, std::vector<std::string>{"orrelith://bundle/b.js"});
    EXPECT_TRUE(other->state.error.has_value());
    view->load({.url = std::nullopt, .timeoutInterval = 60});
    EXPECT_TRUE(engine().webState.loads.empty()) << "a load without URL never reaches the engine";
}

TEST_F(WebViewTest, IgnoresASwitchTheEngineLacks) {
    fake.web->supportsOcclusionDetection = false;
    auto plain = WebView::create(Rect{}, WebViewConfiguration{});
    plain->setSwitch(WebViewSwitch::WindowOcclusionDetection, false);
    EXPECT_FALSE(plain->supports(WebViewSwitch::WindowOcclusionDetection));
    EXPECT_TRUE(plain->isOn(WebViewSwitch::WindowOcclusionDetection));
    EXPECT_EQ(FakeWebViewBackend::of(*plain).webState.occlusionDetection, std::nullopt);
}

} // namespace
} // namespace orrelith::platform
