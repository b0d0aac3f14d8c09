#include "LoopbackServer.hpp"
#include "Platform/Web/ContentRuleListStore.hpp"
#include "Saver/SceneWeb.hpp"
#include "WebHarness.hpp"

#include <gtest/gtest.h>

namespace orrelith::testing {
namespace {

using namespace platform;
using nlohmann::json;

// Tries every way a page reaches a server, reports how each ended, then navigates the whole page there.
const char* const networkPage = R"(<!doctype html>
<html><head><script>
const port = new URLSearchParams(location.search).get('port');
const base = 'http://127.0.0.1:' + port + '/';
const results = {};
function settle(name, value) {
  if (name in results) return;
  results[name] = value;
  if (Object.keys(results).length < 6) return;
  document.title = 'done:' + JSON.stringify(results);
  location.href = base + 'navigate';
}
fetch(base + 'fetch').then(r => settle('fetch', r.status), () => settle('fetch', 'error'));
const x = new XMLHttpRequest();
x.open('GET', base + 'xhr');
x.onload = () => settle('xhr', x.status);
x.onerror = () => settle('xhr', 'error');
x.send();
const image = new Image();
image.onload = () => settle('image', 'loaded');
image.onerror = () => settle('image', 'error');
image.src = base + 'image.png';
const script = document.createElement('script');
script.onload = () => settle('script', 'loaded');
script.onerror = () => settle('script', 'error');
script.src = base + 'script.js';
document.head.appendChild(script);
const sheet = document.createElement('link');
sheet.rel = 'stylesheet';
sheet.onload = () => settle('stylesheet', 'loaded');
sheet.onerror = () => settle('stylesheet', 'error');
sheet.href = base + 'style.css';
document.head.appendChild(sheet);
try {
  const socket = new WebSocket('ws://127.0.0.1:' + port + '/socket');
  socket.onopen = () => settle('websocket', 'open');
  socket.onerror = () => settle('websocket', 'error');
  socket.onclose = () => settle('websocket', 'closed');
} catch (e) { settle('websocket', 'refused: ' + e.name); }
</script></head><body></body></html>)";

class NetworkBlock : public ::testing::Test {
protected:
    NetworkBlock() { web.bundle.write("net.html", networkPage); }

    std::shared_ptr<WebView> openNetworkPage() {
        auto view = SceneWeb::makeWebView(Rect::make(0, 0, 800, 600));
        web.show(view);
        view->load({.url = "orrelith://bundle/net.html?port=" + std::to_string(server.port()), .timeoutInterval = 60});
        return view;
    }
    bool compile() {
        bool completed = false;
        SceneWeb::prepareBlocker([&] { completed = true; });
        return WebHarness::runUntil([&] { return completed; }, 20) && SceneWeb::ruleList();
    }
    // A page of no scene, without any rule list, loads `path` from the server; answers once the server saw it.
    bool controlReaches(const std::string& path) {
        WebViewConfiguration configuration;
        configuration.websiteDataStore = web.engine->makeNonPersistentDataStore();
        auto control = WebView::create(Rect::make(0, 0, 100, 100), configuration);
        web.show(control);
        control->load({.url = server.base() + path, .timeoutInterval = 60});
        return WebHarness::runUntil([&] { return server.count("/" + path) == 1; }, 20);
    }

    WebHarness web;
    LoopbackServer server;
};

TEST_F(NetworkBlock, APageReachesTheServerEveryWayUntilTheRuleListIsCompiledThenNoRequestDoes) {
    auto view = openNetworkPage();
    auto report = WebHarness::report(*view, 20);
    ASSERT_TRUE(report) << "the page never reported; title: " << WebHarness::title(*view);
    EXPECT_EQ((*report)["fetch"], 200);
    EXPECT_EQ((*report)["xhr"], 200);
    EXPECT_EQ((*report)["image"], "loaded");
    EXPECT_EQ((*report)["script"], "loaded");
    EXPECT_EQ((*report)["stylesheet"], "loaded");
    for (const auto* path : {"/fetch", "/xhr", "/image.png", "/script.js", "/style.css", "/socket"})
        EXPECT_EQ(server.count(path), 1) << path;
    ASSERT_TRUE(WebHarness::runUntil([&] { return server.count("/navigate") == 1; }, 20));

    // With the rule list compiled, no request of the same page reaches the server.
    int before = server.total();
    ASSERT_TRUE(compile());
    auto blocked = openNetworkPage();
    report = WebHarness::report(*blocked, 20);
    ASSERT_TRUE(report) << "the page never reported; title: " << WebHarness::title(*blocked);
    for (const auto* kind : {"fetch", "xhr", "image", "script", "stylesheet"})
        EXPECT_EQ((*report)[kind], "error") << kind;
    EXPECT_NE((*report)["websocket"], "open");
    // The page's own navigation was asked for before the control's; once the control's has arrived, the
    // page's would have too.
    ASSERT_TRUE(controlReaches("control"));
    EXPECT_EQ(server.count("/navigate"), 1);
    EXPECT_EQ(server.total(), before + 1) << "only the control page may reach the server";
}

TEST_F(NetworkBlock, AnHttpOnlyRuleListLeavesWebSocketsOpenSoTheListBlocksThemToo) {
    std::shared_ptr<ContentRuleList> httpOnly;
    bool completed = false;
    web.engine->defaultContentRuleListStore().compileContentRuleList(
        "http-only", R"([{"trigger":{"url-filter":"^https?://"},"action":{"type":"block"}}])",
        [&](std::shared_ptr<ContentRuleList> list) {
            httpOnly = std::move(list);
            completed = true;
        });
    ASSERT_TRUE(WebHarness::runUntil([&] { return completed; }, 20));
    ASSERT_TRUE(httpOnly);
    WebViewConfiguration configuration = SceneWeb::makeWebView(Rect{})->configuration();
    configuration.userContentController.addContentRuleList(httpOnly);
    auto view = WebView::create(Rect::make(0, 0, 800, 600), configuration);
    web.show(view);
    view->load({.url = "orrelith://bundle/net.html?port=" + std::to_string(server.port()), .timeoutInterval = 60});
    ASSERT_TRUE(WebHarness::report(*view, 20));
    EXPECT_EQ(server.count("/fetch"), 0);
    EXPECT_EQ(server.count("/socket"), 1) << "WebKit now blocks WebSockets with the http rule alone";
}

} // namespace
} // namespace orrelith::testing
