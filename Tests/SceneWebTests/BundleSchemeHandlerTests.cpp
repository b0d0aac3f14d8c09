#include "Saver/BundleSchemeHandler.hpp"

#include "Platform/Fake/FakePlatform.hpp"
#include "Platform/Web/WebView.hpp"
#include "TemporaryBundle.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace orrelith {

void PrintTo(const BundleSchemeHandler::Response& response, std::ostream* out) {
    *out << response.statusCode << " with " << response.headerFields.size() << " header fields and a body of "
         << response.body.size() << " bytes: \"" << response.body.substr(0, 40) << "\"";
}

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using platform::FakePlatform;
using platform::FakeWebViewBackend;
using testing::TemporaryBundle;

// A collection with the awkward cases the handler must judge: symbolic links in and out of the root, a pipe,
// a folder whose name starts like the root's, and secrets beside the root.
class BundleSchemeHandlerResponse : public ::testing::Test {
protected:
    BundleSchemeHandlerResponse() {
        bundle.write("index.html", "<html>index</html>");
        bundle.write("scenes/a.html", "<html>a</html>");
        bundle.write("x.css", "body{}");
        bundle.write("b.png", "PNG!");
        bundle.write("LOGO.PNG", "LOGO");
        bundle.write("data.xyz", "xyz");
        bundle.write("empty.js", "");
        bundle.write("gallery/g.jpg", "JPG");
        bundle.write("a b.html", "spaced");
        bundle.write("%zz.html", "raw escape");
        bundle.write("%ff.html", "raw non-UTF-8");
        bundle.writeOutside("Quorvane.saver/Contents/Resources/catalog.json", "SECRET catalog");
        bundle.writeOutside("Quorvane.saver/Contents/Resources/ORVEX-evil/x.css", "SECRET sibling");
        bundle.writeOutside("secret.txt", "SECRET top");
        fs::create_symlink("../../../../secret.txt", bundle.root() / "link-out");
        fs::create_symlink(bundle.folder(), bundle.root() / "dir-out");
        fs::create_symlink("x.css", bundle.root() / "link-in.css");
        ::mkfifo((bundle.root() / "pipe.html").c_str(), 0600);
    }

    BundleSchemeHandler::Response get(const std::string& url) const {
        return BundleSchemeHandler::response(url, bundle.root());
    }

    TemporaryBundle bundle;
};

struct Served {
    std::string url;
    std::string body;
    std::string contentType;
};

TEST_F(BundleSchemeHandlerResponse, ServesFilesBelowTheRootWhateverTheHostQueryOrFragmentTypedAndCountedExactly) {
    const std::vector<Served> cases = {
        {"orrelith://bundle/", "<html>index</html>", "text/html; charset=utf-8"},
        {"orrelith://bundle", "<html>index</html>", "text/html; charset=utf-8"},
        {"orrelith://bundle/scenes/a.html", "<html>a</html>", "text/html; charset=utf-8"},
        {"orrelith://other-host/x.css", "body{}", "text/css; charset=utf-8"},
        {"orrelith://bundle/a/../b.png", "PNG!", "image/png"},
        {"orrelith://bundle/scenes%2Fa.html", "<html>a</html>", "text/html; charset=utf-8"},
        {"orrelith://bundle/index.html?x=1#top", "<html>index</html>", "text/html; charset=utf-8"},
        {"orrelith://bundle/a%20b.html", "spaced", "text/html; charset=utf-8"},
        {"orrelith://bundle/LOGO.PNG", "LOGO", "image/png"},
        {"orrelith://bundle/data.xyz", "xyz", "application/octet-stream"},
        {"orrelith://bundle/%zz.html", "raw escape", "text/html; charset=utf-8"},
        {"orrelith://bundle/%ff.html", "raw non-UTF-8", "text/html; charset=utf-8"},
        {"orrelith://bundle//scenes/a.html", "<html>a</html>", "text/html; charset=utf-8"},
        {"orrelith://bundle/link-in.css", "body{}", "text/css; charset=utf-8"},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.url);
        auto response = get(expected.url);
        EXPECT_EQ(response.statusCode, 200);
        EXPECT_EQ(response.body, expected.body);
        EXPECT_EQ(response.headerFields["Content-Type"], expected.contentType);
    }
    // Content types ignore case and call near misses binary.
    const std::vector<std::pair<std::string, std::string>> table = {
        {"HTML", "text/html; charset=utf-8"}, {"JpEg", "image/jpeg"},
        {"", "application/octet-stream"},     {"html5", "application/octet-stream"},
        {"json ", "application/octet-stream"},
    };
    for (const auto& [extension, type] : table)
        EXPECT_EQ(BundleSchemeHandler::mimeType(extension), type) << extension;

    // A served file carries exactly four header fields and its byte count.
    std::map<std::string, std::string> expected = {
        {"Content-Type", "text/html; charset=utf-8"},
        {"Content-Length", "14"},
        {"Access-Control-Allow-Origin", "*"},
        {"Cache-Control", "no-cache"},
    };
    EXPECT_EQ(get("orrelith://bundle/scenes/a.html").headerFields, expected);
    std::string binary("\x00\xff\x01\r\n\x00", 6);
    bundle.write("blob.woff2", binary);
    auto blob = get("orrelith://bundle/blob.woff2");
    EXPECT_EQ(blob.body, binary);
    EXPECT_EQ(blob.headerFields["Content-Length"], "6");
    auto empty = get("orrelith://bundle/empty.js");
    EXPECT_EQ(empty.statusCode, 200);
    EXPECT_EQ(empty.body, "");
    EXPECT_EQ(empty.headerFields["Content-Length"], "0");
}

TEST_F(BundleSchemeHandlerResponse, AnswersABare404ForWhatIsMissingOutsideOrNotAFile) {
    const std::vector<std::string> urls = {
        "orrelith://bundle/missing.html",
        "orrelith://bundle/gallery",
        "orrelith://bundle/gallery/",
        "orrelith://bundle/.",
        "orrelith://bundle/scenes/..",
        "orrelith://bundle/../catalog.json",
        "orrelith://bundle/%2E%2E/secret.txt",
        "orrelith://bundle/..%2Fcatalog.json",
        "orrelith://bundle/%2e%2e%2f%2e%2e%2f%2e%2e%2f%2e%2e%2fsecret.txt",
        "orrelith://bundle/scenes/..%2F..%2Fcatalog.json",
        "orrelith://bundle/../ORVEX-evil/x.css",
        "orrelith://bundle/%2E%2E%2FORVEX-evil%2Fx.css",
        "orrelith://bundle/" + bundle.folder().string() + "/secret.txt",
        "orrelith://bundle/%2F" + bundle.folder().string().substr(1) + "/secret.txt",
        "orrelith://bundle/index.html%00.png",
        "orrelith://bundle/%00",
        "orrelith://bundle/index.html\0.png"s,
        "orrelith://bundle/link-out",
        "orrelith://bundle/dir-out/secret.txt",
        "orrelith://bundle/pipe.html",
    };
    for (const auto& url : urls) {
        SCOPED_TRACE(url);
        EXPECT_EQ(get(url), BundleSchemeHandler::Response{}) << "a 404 has no header fields and no body";
    }
}

// Through a web view, with the root taken from the bundle that holds the code.
class BundleSchemeHandlerTask : public ::testing::Test {
protected:
    BundleSchemeHandlerTask() {
        fake.system->codeBundle = bundle.bundle();
        bundle.write("index.html", "<html>index</html>");
        platform::WebViewConfiguration configuration;
        configuration.setURLSchemeHandler(BundleSchemeHandler::shared(), "orrelith");
        view = platform::WebView::create(platform::Rect::make(0, 0, 100, 100), configuration);
    }

    FakeWebViewBackend& engine() const { return FakeWebViewBackend::of(*view); }

    FakePlatform fake;
    TemporaryBundle bundle;
    std::shared_ptr<platform::WebView> view;
};

TEST_F(BundleSchemeHandlerTask, AnswersAServedFileInOnePieceAndAMissingOneWithABare404ThenFinishesAndIgnoresTheRest) {
    auto task = engine().startSchemeTask("orrelith://bundle/");
    ASSERT_TRUE(task->state.response);
    EXPECT_EQ(task->state.response->url, "orrelith://bundle/");
    EXPECT_EQ(task->state.response->statusCode, 200);
    EXPECT_EQ(task->state.response->httpVersion, "HTTP/1.1");
    EXPECT_EQ(task->state.response->headerFields.size(), 4u);
    EXPECT_EQ(task->state.body, "<html>index</html>");
    EXPECT_EQ(task->state.dataCalls, 1u);
    EXPECT_TRUE(task->state.finished);
    EXPECT_FALSE(task->state.error);

    auto missing = engine().startSchemeTask("orrelith://bundle/nothing.html");
    ASSERT_TRUE(missing->state.response);
    EXPECT_EQ(missing->state.response->statusCode, 404);
    EXPECT_TRUE(missing->state.response->headerFields.empty());
    EXPECT_EQ(missing->state.dataCalls, 0u);
    EXPECT_TRUE(missing->state.finished);
    EXPECT_FALSE(missing->state.error);

    engine().stopSchemeTask(task);
    EXPECT_EQ(task->state.callsAfterEnd, 0u) << "stopping a task changes nothing";
    auto withoutURL = std::make_shared<platform::FakeURLSchemeTask>(platform::URLRequest{});
    BundleSchemeHandler::shared()->startURLSchemeTask(*view, withoutURL);
    EXPECT_FALSE(withoutURL->state.response);
    EXPECT_FALSE(withoutURL->ended()) << "a task without URL is left unanswered";

    // The root is looked up again for every request.
    TemporaryBundle other;
    other.write("index.html", "other");
    fake.system->codeBundle = other.bundle();
    EXPECT_EQ(engine().startSchemeTask("orrelith://bundle/")->state.body, "other");
    fake.system->codeBundle.reset();
    EXPECT_EQ(engine().startSchemeTask("orrelith://bundle/")->state.response->statusCode, 404);
}

} // namespace
} // namespace orrelith
