// The host on two monitors of a headless sway (1280x800 and 1024x768 beside it), with a private session bus.
#include "../Platform/MainLoopSupport.hpp"
#include "HostRunFixture.hpp"
#include "Platform/Platform.hpp"
#include "Platform/Views/Screen.hpp"

#include <algorithm>

using namespace orrelith::platform;

namespace {

class HostOnTwoMonitors : public HostRunFixture {
protected:
    // Where each monitor lies in a picture of the whole layout: global points (y upward) to picture rows.
    static std::vector<PictureRegion> monitorRegions() {
        std::vector<Rect> frames;
        for (auto& screen : screens().screens())
            frames.push_back(screen->frame());
        double minX = 0, maxY = 0;
        if (!frames.empty()) {
            minX = std::min_element(frames.begin(), frames.end(), [](auto& a, auto& b) { return a.minX() < b.minX(); })->minX();
            maxY = std::max_element(frames.begin(), frames.end(), [](auto& a, auto& b) { return a.maxY() < b.maxY(); })->maxY();
        }
        std::vector<PictureRegion> regions;
        for (auto& frame : frames)
            regions.push_back({static_cast<int>(frame.minX() - minX), static_cast<int>(maxY - frame.maxY()),
                               static_cast<int>(frame.width()), static_cast<int>(frame.height())});
        return regions;
    }

    // The scene each monitor shows in the picture, when every monitor clearly shows one.
    static std::optional<std::vector<std::string>> scenesIn(const std::filesystem::path& png) {
        auto shot = ScenePicture::load(png);
        if (!shot)
            return std::nullopt;
        std::vector<std::string> slugs;
        for (auto& region : monitorRegions()) {
            if (region.x + region.width > shot->width() || region.y + region.height > shot->height())
                return std::nullopt;
            auto match = shot->nearest(region, gallery());
            if (!match.isClear())
                return std::nullopt;
            slugs.push_back(match.slug);
        }
        return slugs;
    }
};

TEST_F(HostOnTwoMonitors, EachMonitorShowsASceneOfItsOwnOnScreenAndInTheHostsPicture) {
    ASSERT_EQ(monitorRegions().size(), 2u);
    auto picture = file("run.png");
    auto host = start(withBundle({"--duration", "16", "--screenshot", picture.string(), "--screenshot-after", "12"}));
    // What the compositor really shows, until both monitors show a scene.
    auto screen = file("screen.png");
    std::optional<std::vector<std::string>> onScreen;
    pumpUntil(
        [&] {
            commandOutput("grim " + screen.string());
            onScreen = scenesIn(screen);
            return onScreen.has_value() || !host->isRunning();
        },
        14);
    ASSERT_TRUE(onScreen) << "the monitors do not both show a scene; see " << screen << "\n" << host->messages();
    EXPECT_NE((*onScreen)[0], (*onScreen)[1]) << "the default settings ask for distinct scenes";

    expectCleanEnd(*host, 40);
    auto inPicture = scenesIn(picture);
    ASSERT_TRUE(inPicture) << "the host's picture does not show a scene on each monitor: " << picture;
    EXPECT_EQ(*inPicture, *onScreen) << "the picture shows what the monitors show";
}

} // namespace
