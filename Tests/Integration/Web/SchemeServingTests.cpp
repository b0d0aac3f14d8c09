#include "OnePixelPNG.hpp"
#include "Saver/SceneWeb.hpp"
#include "WebHarness.hpp"

#include <gtest/gtest.h>

namespace orrelith::testing {
namespace {

using namespace platform;
using nlohmann::json;

const char* const scenePage = R"(<!doctype html>
<html><head><meta charset="utf-8"><link rel="stylesheet" href="style.css"><script src="app.js"></script></head>
<body><img id="pic" src="pic.png">
<script>
async function probe(path) {
  try {
    const r = await fetch(path);
    const body = await r.arrayBuffer();
    return {status: r.status, type: r.headers.get('Content-Type'), length: r.headers.get('Content-Length'),
            bytes: body.byteLength};
  } catch (e) { return {error: String(e)}; }
}
function request(path) {
  return new Promise(done => {
    const x = new XMLHttpRequest();
    x.open('GET', path);
    x.onload = () => done({status: x.status, bytes: x.responseText.length});
    x.onerror = () => done({error: 'xhr'});
    x.send();
  });
}
window.addEventListener('load', async () => {
  const out = {contentType: document.contentType, charset: document.characterSet,
               scriptRan: window.appScriptRan === true, marginLeft: getComputedStyle(document.body).marginLeft,
               imageWidth: document.getElementById('pic').naturalWidth,
               answer: await fetch('data.json').then(r => r.json()).then(j => j.answer, () => 'error'),
               xhr: await request('data.json'), files: {}};
  for (const path of ['app.js', 'style.css', 'pic.png', 'data.json', 'missing.txt'])
    out.files[path] = await probe(path);
  document.title = 'done:' + JSON.stringify(out);
});
</script></body></html>)";

class SchemeServing : public ::testing::Test {
protected:
    SchemeServing() {
        web.bundle.write("index.html", scenePage);
        web.bundle.write("app.js", "window.appScriptRan = true;\n");
        web.bundle.write("style.css", "body { margin-left: 17px; }\n");
        web.bundle.write("pic.png", onePixelPNG);
        web.bundle.write("data.json", R"({"answer": 42})");
        view = SceneWeb::makeWebView(Rect::make(0, 0, 800, 600));
        view->setNavigationDelegate(delegate);
        web.show(view);
    }

    WebHarness web;
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
    std::shared_ptr<WebView> view;
};

TEST_F(SchemeServing, APageFetchesItsScriptStyleSheetImageAndJSONWithTheirTypesAndLengthsAndAMissingPageIsA404) {
    view->load({.url = "orrelith://bundle/", .timeoutInterval = 60});
    auto report = WebHarness::report(*view, 20);
    ASSERT_TRUE(report) << "the page never reported; title: " << WebHarness::title(*view);
    EXPECT_EQ((*report)["contentType"], "text/html");
    EXPECT_EQ((*report)["charset"], "UTF-8");
    EXPECT_EQ((*report)["scriptRan"], true);
    EXPECT_EQ((*report)["marginLeft"], "17px");
    EXPECT_EQ((*report)["imageWidth"], 1);
    EXPECT_EQ((*report)["answer"], 42);
    EXPECT_EQ((*report)["xhr"], (json{{"status", 200}, {"bytes", 14}}));
    const json expected = {
        {"app.js", {{"status", 200}, {"type", "text/javascript; charset=utf-8"}, {"length", "28"}, {"bytes", 28}}},
        {"style.css", {{"status", 200}, {"type", "text/css; charset=utf-8"}, {"length", "28"}, {"bytes", 28}}},
        {"pic.png",
         {{"status", 200}, {"type", "image/png"}, {"length", std::to_string(onePixelPNG.size())},
          {"bytes", onePixelPNG.size()}}},
        {"data.json", {{"status", 200}, {"type", "application/json"}, {"length", "14"}, {"bytes", 14}}},
    };
    for (const auto& [path, file] : expected.items())
        EXPECT_EQ((*report)["files"][path], file) << path;
    EXPECT_EQ((*report)["files"]["missing.txt"]["status"], 404);
    EXPECT_EQ((*report)["files"]["missing.txt"]["bytes"], 0);
    EXPECT_TRUE(WebHarness::runUntil([&] { return delegate->finished == 1; }, 20));

    view->load({.url = "orrelith://bundle/no-such-scene.html", .timeoutInterval = 60});
    ASSERT_TRUE(WebHarness::runUntil([&] { return delegate->finished == 2; }, 20)) << "a missing page's navigation finishes";
    EXPECT_EQ(delegate->actions.size(), 2u);
    EXPECT_EQ(WebHarness::title(*view), "");
}

} // namespace
} // namespace orrelith::testing
