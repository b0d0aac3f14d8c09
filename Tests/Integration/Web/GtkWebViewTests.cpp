#include "Platform/Linux/Web/GtkWebsiteDataStore.hpp"
#include "Saver/BundleSchemeHandler.hpp"
#include "Saver/SceneWeb.hpp"
#include "WebHarness.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace orrelith::testing {
namespace {

using namespace platform;

// One step every 300 ms, so that each navigation is decided before the next one starts. Every step but
// the last is one a scene's owner cancels; the last loads end.html, which it allows.
const char* const navigationPage = R"(<!doctype html>
<html><body><a id="link" href="target-link.html">link</a>
<form id="form" action="target-form.html"><input name="q" value="1"></form>
<script>
const steps = [
  () => document.getElementById('link').click(),
  () => document.getElementById('form').submit(),
  () => location.reload(),
  () => { location.href = 'https://example.invalid/away'; },
  () => { location.href = 'orrelith://bundle/end.html'; },
];
steps.forEach((step, index) => setTimeout(step, 300 * (index + 1)));
</script></body></html>)";

// Serves the bundle, but holds back every request whose path ends in "hold.html".
struct HoldingHandler : URLSchemeHandler {
    void startURLSchemeTask(WebView& view, std::shared_ptr<URLSchemeTask> task) override {
        const auto& url = task->request().url;
        seen.push_back(url.value_or(""));
        if (url && url->ends_with("hold.html"))
            held.push_back(std::move(task));
        else
            BundleSchemeHandler::shared()->startURLSchemeTask(view, std::move(task));
    }
    void stopURLSchemeTask(WebView&, std::shared_ptr<URLSchemeTask>) override {}
    std::vector<std::string> seen;
    std::vector<std::shared_ptr<URLSchemeTask>> held;
};

class GtkWebViewTest : public ::testing::Test {
protected:
    GtkWebViewTest() {
        web.bundle.write("nav.html", navigationPage);
        web.bundle.write("end.html", "<title>end</title>");
        web.bundle.write("index.html", "<title>index</title>");
        WebViewConfiguration configuration;
        configuration.setURLSchemeHandler(handler, "orrelith");
        configuration.websiteDataStore = web.engine->makeNonPersistentDataStore();
        view = WebView::create(Rect::make(0, 0, 800, 600), configuration);
        view->setNavigationDelegate(delegate);
        web.show(view);
    }
    bool seen(const std::string& url) const {
        return std::find(handler->seen.begin(), handler->seen.end(), url) != handler->seen.end();
    }

    WebHarness web;
    std::shared_ptr<HoldingHandler> handler = std::make_shared<HoldingHandler>();
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
    std::shared_ptr<WebView> view;
};

TEST_F(GtkWebViewTest, AsksItsDelegateAboutEachNavigationWithItsTypeAndObeysTheAnswer) {
    view->load({.url = "orrelith://bundle/nav.html", .timeoutInterval = 60});
    ASSERT_TRUE(WebHarness::runUntil([&] { return WebHarness::title(*view) == "end" && delegate->finished == 2; }, 20));
    std::vector<std::pair<std::string, NavigationType>> asked;
    for (const auto& action : delegate->actions)
        asked.emplace_back(action.url.value_or("").substr(0, action.url.value_or("").find('?')), action.navigationType);
    std::vector<std::pair<std::string, NavigationType>> expected = {
        {"orrelith://bundle/nav.html", NavigationType::Other},
        {"orrelith://bundle/target-link.html", NavigationType::LinkActivated},
        {"orrelith://bundle/target-form.html", NavigationType::FormSubmitted},
        {"orrelith://bundle/nav.html", NavigationType::Reload},
        {"https://example.invalid/away", NavigationType::Other},
        {"orrelith://bundle/end.html", NavigationType::Other},
    };
    EXPECT_EQ(asked, expected);
    EXPECT_FALSE(seen("orrelith://bundle/target-link.html"));
    EXPECT_FALSE(seen("orrelith://bundle/target-form.html?q=1"));
    EXPECT_EQ(std::count(handler->seen.begin(), handler->seen.end(), "orrelith://bundle/nav.html"), 1);
    EXPECT_EQ(delegate->finished, 2);
}

TEST_F(GtkWebViewTest, ALoadWhoseMainResourceNeverComesIsStoppedAfterItsTimeoutAndTheWebProcessDeathIsTold) {
    // A first page starts the web content process, so that the held request is asked for within the timeout.
    view->load({.url = "orrelith://bundle/", .timeoutInterval = 60});
    ASSERT_TRUE(WebHarness::runUntil([&] { return delegate->finished == 1 && WebHarness::title(*view) == "index"; }, 20));
    view->load({.url = "orrelith://bundle/hold.html", .timeoutInterval = 1});
    ASSERT_TRUE(WebHarness::runUntil([&] { return handler->held.size() == 1; }, 20));
    EXPECT_TRUE(WebHarness::runUntil([&] { return !webkit_web_view_is_loading(WebHarness::webkitView(*view)); }, 10));
    // An answer after the stop goes nowhere.
    handler->held[0]->didReceiveResponse({"orrelith://bundle/hold.html", 200, "HTTP/1.1", {}});
    handler->held[0]->didFinish();
    WebHarness::runUntil([] { return false; }, 0.3);
    EXPECT_EQ(delegate->finished, 1);
    EXPECT_EQ(WebHarness::title(*view), "index");
    view->load({.url = "orrelith://bundle/end.html", .timeoutInterval = 60});
    // The title may arrive just after the load has finished.
    EXPECT_TRUE(WebHarness::runUntil([&] { return delegate->finished == 2 && WebHarness::title(*view) == "end"; }, 20));
    webkit_web_view_terminate_web_process(WebHarness::webkitView(*view));
    EXPECT_TRUE(WebHarness::runUntil([&] { return delegate->terminated == 1; }, 20)) << "the death of its web process is told";
}

TEST_F(GtkWebViewTest, StoppingAndUnloadingLeaveNoPageBehind) {
    view->load({.url = "orrelith://bundle/", .timeoutInterval = 60});
    view->stopLoading();
    view->loadHTMLString("", std::nullopt);
    EXPECT_TRUE(WebHarness::runUntil([&] { return !webkit_web_view_is_loading(WebHarness::webkitView(*view)); }, 10));
    EXPECT_EQ(WebHarness::title(*view), "");
}

TEST(GtkWebViewSetUp, ASceneViewRunsUnthrottledOnItsOwnEphemeralSessionOnBlackWithoutZoomOrSwipe) {
    WebHarness web;
    auto first = SceneWeb::makeWebView(Rect::make(0, 0, 100, 100));
    auto second = SceneWeb::makeWebView(Rect::make(0, 0, 100, 100));
    WebKitWebView* view = WebHarness::webkitView(*first);
    WebKitNetworkSession* session = webkit_web_view_get_network_session(view);
    EXPECT_TRUE(webkit_network_session_is_ephemeral(session));
    EXPECT_NE(session, webkit_web_view_get_network_session(WebHarness::webkitView(*second)));
    WebKitSettings* settings = webkit_web_view_get_settings(view);
    WebKitFeatureList* features = webkit_settings_get_all_features();
    int throttlingFound = 0;
    for (gsize i = 0; i < webkit_feature_list_get_length(features); ++i) {
        WebKitFeature* feature = webkit_feature_list_get(features, i);
        std::string identifier = webkit_feature_get_identifier(feature);
        const auto& throttling = GtkWebView::throttlingFeatures();
        if (std::find(throttling.begin(), throttling.end(), identifier) != throttling.end()) {
            ++throttlingFound;
            EXPECT_FALSE(webkit_settings_get_feature_enabled(settings, feature)) << identifier;
        }
        if (identifier == "SuppressesIncrementalRendering") {
            EXPECT_FALSE(webkit_settings_get_feature_enabled(settings, feature));
        }
    }
    webkit_feature_list_unref(features);
    EXPECT_GT(throttlingFound, 0) << "this WebKit has none of the throttling features any more";
    // Drawing no background, it shows the black under the page, painted opaquely; with a clear colour under
    // the page it is transparent.
    GdkRGBA background;
    webkit_web_view_get_background_color(view, &background);
    EXPECT_EQ(background.alpha, 1);
    EXPECT_EQ(background.red + background.green + background.blue, 0);
    auto plain = WebView::create(Rect::make(0, 0, 100, 100), WebViewConfiguration{});
    plain->setSwitch(WebViewSwitch::DrawsBackground, false);
    plain->setUnderPageBackgroundColor(Color::clear());
    webkit_web_view_get_background_color(WebHarness::webkitView(*plain), &background);
    EXPECT_EQ(background.alpha, 0);
    EXPECT_FALSE(webkit_settings_get_enable_back_forward_navigation_gestures(settings));
    GListModel* controllers = gtk_widget_observe_controllers(GTK_WIDGET(view));
    int zooms = 0;
    for (guint i = 0; i < g_list_model_get_n_items(controllers); ++i) {
        auto* controller = static_cast<GtkEventController*>(g_list_model_get_item(controllers, i));
        if (GTK_IS_GESTURE_ZOOM(controller)) {
            ++zooms;
            EXPECT_EQ(gtk_event_controller_get_propagation_phase(controller), GTK_PHASE_NONE);
        }
        g_object_unref(controller);
    }
    g_object_unref(controllers);
    EXPECT_GT(zooms, 0);
}

TEST(GtkContentRuleListStoreTest, CompilesOnALaterTurnIntoItsOwnFolderAndFailsQuietlyOnBadJSON) {
    WebHarness web;
    auto& store = web.engine->defaultContentRuleListStore();
    std::vector<std::shared_ptr<ContentRuleList>> results;
    store.compileContentRuleList("orrelith.offline", SceneWeb::ruleListJSON(),
                                 [&](std::shared_ptr<ContentRuleList> list) { results.push_back(list); });
    store.compileContentRuleList("broken", "[{not json", [&](auto list) { results.push_back(list); });
    EXPECT_TRUE(results.empty()) << "a completion ran inside the call";
    ASSERT_TRUE(WebHarness::runUntil([&] { return results.size() == 2; }, 20));
    auto good = std::find_if(results.begin(), results.end(), [](const auto& list) { return list != nullptr; });
    ASSERT_NE(good, results.end());
    EXPECT_EQ((*good)->identifier(), "orrelith.offline");
    EXPECT_EQ(std::count(results.begin(), results.end(), nullptr), 1);
    EXPECT_TRUE(std::filesystem::exists(web.bundle.folder() / "rule-lists" / "ContentRuleList-orrelith.offline"));
}

} // namespace
} // namespace orrelith::testing
