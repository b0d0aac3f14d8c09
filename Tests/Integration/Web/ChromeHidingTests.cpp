#include "Saver/SceneWeb.hpp"
#include "WebHarness.hpp"

#include <gtest/gtest.h>

namespace orrelith::testing {
namespace {

using namespace platform;

// The first thing the page runs looks at what the injected script left. Its style element hangs from the
// root element, not from the head: it was added before the parser made the head, at document start. The
// frame reports the same about itself to the page.
const char* const mainPage = R"(<!doctype html>
<html><head><script>
const injected = [...document.querySelectorAll('style')].filter(s => s.textContent.includes('orrelith-press-any-key'));
window.early = {
  injected: injected.length,
  parent: injected.length ? injected[0].parentNode.nodeName : '',
  cursor: getComputedStyle(document.documentElement).cursor
};
const probe = document.createElement('div');
probe.id = 'chrome-top';
document.documentElement.appendChild(probe);
window.early.chromeTop = getComputedStyle(probe).display;
probe.remove();
window.addEventListener('message', event => {
  const button = document.getElementById('btn-share');
  document.title = 'done:' + JSON.stringify({early: window.early, frame: event.data,
      share: getComputedStyle(button).display, kept: getComputedStyle(document.getElementById('kept')).display});
});
</script></head>
<body><button id="btn-share">Share</button><div id="kept">kept</div>
<iframe src="frame.html"></iframe></body></html>)";

const char* const framePage = R"(<!doctype html>
<html><head><script>
parent.postMessage({
  injected: [...document.querySelectorAll('style')].filter(s => s.textContent.includes('orrelith-press-any-key')).length,
  cursor: getComputedStyle(document.documentElement).cursor
}, '*');
</script></head><body></body></html>)";

TEST(ChromeHiding, TheStyleIsInForceAtDocumentStartInTheMainFrameOnly) {
    WebHarness web;
    web.bundle.write("index.html", mainPage);
    web.bundle.write("frame.html", framePage);
    auto view = SceneWeb::makeWebView(Rect::make(0, 0, 800, 600));
    web.show(view);
    view->load({.url = "orrelith://bundle/", .timeoutInterval = 60});
    auto report = WebHarness::report(*view, 20);
    ASSERT_TRUE(report) << "the page never reported; title: " << WebHarness::title(*view);
    EXPECT_EQ((*report)["early"]["injected"], 1);
    EXPECT_EQ((*report)["early"]["parent"], "HTML");
    EXPECT_EQ((*report)["early"]["cursor"], "none");
    EXPECT_EQ((*report)["early"]["chromeTop"], "none");
    EXPECT_EQ((*report)["share"], "none");
    EXPECT_EQ((*report)["kept"], "block");
    EXPECT_EQ((*report)["frame"]["injected"], 0);
    EXPECT_EQ((*report)["frame"]["cursor"], "auto");
}

} // namespace
} // namespace orrelith::testing
