#include <gtest/gtest.h>

#include "../Web/WebHarness.hpp"
#include "OrrelithCore/Catalog.hpp"
#include "Saver/SceneWeb.hpp"

using namespace orrelith;
using namespace orrelith::platform;
using namespace orrelith::testing;

namespace {

constexpr double pageWidth = 640;
constexpr double pageHeight = 400;
constexpr std::size_t batch = 3;

// The RGBA pixels of what a web view shows now; empty when no snapshot could be taken.
std::vector<std::uint8_t> snapshot(const WebView& view) {
    struct Result {
        bool done = false;
        GdkTexture* texture = nullptr;
    } result;
    webkit_web_view_get_snapshot(
        WebHarness::webkitView(view), WEBKIT_SNAPSHOT_REGION_VISIBLE, WEBKIT_SNAPSHOT_OPTIONS_NONE, nullptr,
        [](GObject* source, GAsyncResult* async, gpointer data) {
            auto* out = static_cast<Result*>(data);
            out->texture = webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(source), async, nullptr);
            out->done = true;
        },
        &result);
    WebHarness::runUntil([&] { return result.done; }, 10);
    if (!result.texture)
        return {};
    auto width = static_cast<std::size_t>(gdk_texture_get_width(result.texture));
    auto height = static_cast<std::size_t>(gdk_texture_get_height(result.texture));
    std::vector<std::uint8_t> pixels(width * height * 4);
    gdk_texture_download(result.texture, pixels.data(), width * 4);
    g_object_unref(result.texture);
    return pixels;
}

// The share of pixels that are not (nearly) black.
double litShare(const std::vector<std::uint8_t>& pixels) {
    if (pixels.empty())
        return 0;
    std::size_t lit = 0;
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4)
        lit += (pixels[i] > 24 || pixels[i + 1] > 24 || pixels[i + 2] > 24) ? 1 : 0;
    return static_cast<double>(lit) / static_cast<double>(pixels.size() / 4);
}

std::size_t differingPixels(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    if (a.size() != b.size())
        return std::max(a.size(), b.size()) / 4;
    std::size_t differing = 0;
    for (std::size_t i = 0; i + 3 < a.size(); i += 4)
        differing += (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) ? 1 : 0;
    return differing;
}

Catalog shippedCatalog() { return Catalog::decode(TemporaryFolder::read(ORRELITH_RESOURCES_DIR "/ORVEX/catalog.json")); }

struct Loaded {
    std::string slug;
    std::shared_ptr<WebView> view;
    std::shared_ptr<RecordingDelegate> delegate;
};

class SceneAnimation : public ::testing::Test {
protected:
    SceneAnimation() {
        harness.system->codeBundle = Bundle{ORRELITH_RESOURCES_DIR, ORRELITH_RESOURCES_DIR, {}, {}};
        harness.window->setFrame(Rect::make(0, 0, pageWidth * batch, pageHeight));
    }

    // Loads the scenes side by side through the scheme and waits for their navigations to finish.
    std::vector<Loaded> load(const std::vector<std::string>& slugs) {
        std::vector<Loaded> loaded;
        for (const auto& slug : slugs) {
            auto frame = Rect::make(pageWidth * static_cast<double>(loaded.size()), 0, pageWidth, pageHeight);
            Loaded scene{slug, SceneWeb::makeWebView(frame), std::make_shared<RecordingDelegate>()};
            scene.view->setNavigationDelegate(scene.delegate);
            harness.show(scene.view);
            scene.view->load(URLRequest{SceneWeb::url(slug), URLRequestCachePolicy::UseProtocolCachePolicy, 60});
            loaded.push_back(std::move(scene));
        }
        WebHarness::runUntil([&] {
            return std::all_of(loaded.begin(), loaded.end(), [](const auto& s) { return s.delegate->finished > 0; });
        }, 30);
        return loaded;
    }

    WebHarness harness;
};

TEST_F(SceneAnimation, EveryScenePaintsWithinTwoSecondsAndKeepsChanging) {
    auto catalog = shippedCatalog();
    ASSERT_GE(catalog.scenes.size(), 14u);
    for (std::size_t first = 0; first < catalog.scenes.size(); first += batch) {
        std::vector<std::string> slugs;
        for (std::size_t i = first; i < std::min(first + batch, catalog.scenes.size()); ++i)
            slugs.push_back(catalog.scenes[i].slug);
        auto scenes = load(slugs);
        std::vector<std::vector<std::uint8_t>> painted(scenes.size());
        WebHarness::runUntil([] { return false; }, 2.0);
        for (std::size_t i = 0; i < scenes.size(); ++i) {
            ASSERT_EQ(scenes[i].delegate->finished, 1) << scenes[i].slug << " did not finish loading";
            painted[i] = snapshot(*scenes[i].view);
            EXPECT_GT(litShare(painted[i]), 0.02) << scenes[i].slug << " has not painted two seconds after loading";
        }
        WebHarness::runUntil([] { return false; }, 2.5);
        for (std::size_t i = 0; i < scenes.size(); ++i)
            EXPECT_GT(differingPixels(painted[i], snapshot(*scenes[i].view)), 200u) << scenes[i].slug << " is still";
        for (auto& scene : scenes)
            scene.view->removeFromSuperview();
    }
}

} // namespace
