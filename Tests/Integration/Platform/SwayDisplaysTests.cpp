#include "MainLoopSupport.hpp"
#include "Platform/Linux/LinuxPlatform.hpp"
#include "Platform/Views/Window.hpp"
#include "Saver/Displays.hpp"

#include <gtest/gtest.h>

using namespace orrelith;
using namespace orrelith::platform;

namespace {

class Sway : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!installed().screens)
            install(linuxServices());
    }
};

} // namespace

// The compositor lays out HEADLESS-1 (1280x800) at (0, 0) and HEADLESS-2 (1024x768) to its left at
// (-1024, 0), both top-aligned.
TEST_F(Sway, ListsBothOutputsThePrimaryFirstWithStableNumbersAndPutsAFullScreenWindowOnTheScreenItCovers) {
    auto displays = Displays::current();
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[0], (DisplayInfo{"frame--1024x32", "headless 1", Rect::make(-1024, 32, 1024, 768)}));
    EXPECT_EQ(displays[1], (DisplayInfo{"frame-0x0", "headless 2", Rect::make(0, 0, 1280, 800)}));
    EXPECT_EQ(Displays::current(), displays) << "the same on every call";

    auto first = screens().screens();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0]->frame().origin, (Point{0, 0}));
    auto numbers = [](const std::vector<std::shared_ptr<Screen>>& list) {
        std::vector<std::optional<std::uint32_t>> result;
        for (auto& screen : list)
            result.push_back(Displays::displayID(*screen));
        return result;
    };
    auto before = numbers(first);
    EXPECT_NE(before[0], before[1]);
    EXPECT_TRUE(before[0] && before[1]);
    EXPECT_EQ(numbers(screens().screens()), before);
    EXPECT_FALSE(screens().displayUUID(*before[0])) << "headless outputs have no EDID";

    // A full-screen window is on the screen it covers.
    for (auto& screen : screens().screens()) {
        SCOPED_TRACE(Displays::key(*screen));
        auto view = View::create(Rect::make(0, 0, 10, 10));
        auto window = Window::create(Rect::make(0, 0, 10, 10), WindowStyle::Borderless);
        window->setContentView(view);
        window->makeFullScreen(*screen);
        window->orderFront();
        EXPECT_TRUE(pumpUntil([&] { return window->isVisible() && view->frame().size == screen->frame().size; }));
        EXPECT_TRUE(pumpUntil([&] { return Displays::screen(*view) == screen; }));
        window->close();
        pumpFor(0.1);
    }
}

