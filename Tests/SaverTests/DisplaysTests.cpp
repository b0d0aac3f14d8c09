#include "Platform/Fake/FakePlatform.hpp"
#include "Platform/Views/View.hpp"
#include "Platform/Views/Window.hpp"
#include "Saver/Displays.hpp"

#include <gtest/gtest.h>

#include <cmath>

using namespace orrelith;
using platform::DeviceValue;
using platform::FakePlatform;
using platform::FakeScreen;
using platform::FakeWindowBackend;
using platform::Rect;

TEST(Displays, DisplayIdIsTheScreenNumberWhenItIsOne) {
    struct Case {
        std::optional<DeviceValue> value;
        std::optional<std::uint32_t> expected;
    } cases[] = {
        {DeviceValue{std::int64_t{69734208}}, 69734208u},
        {DeviceValue{3.0}, 3u},
        {DeviceValue{std::int64_t{4294967295}}, 4294967295u},
        {DeviceValue{std::string("1")}, std::nullopt},
        {DeviceValue{std::int64_t{-1}}, std::nullopt},
        {DeviceValue{std::int64_t{4294967296}}, std::nullopt},
        {DeviceValue{std::nan("")}, std::nullopt},
        {std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        auto screen = FakeScreen::make(Rect::make(0, 0, 10, 10), "S", std::nullopt);
        if (c.value)
            screen->description[platform::Screen::screenNumberKey] = *c.value;
        EXPECT_EQ(Displays::displayID(*screen), c.expected);
    }
}

TEST(Displays, KeyIsTheUuidWhenTheSystemHasOneElseTheFrameKeyTruncatedTowardZero) {
    struct Case {
        Rect frame;
        const char* key;
    } cases[] = {
        {Rect::make(-1920, 0, 1920, 1080), "frame--1920x0"},
        {Rect::make(2560, -1440, 2560, 1440), "frame-2560x-1440"},
        {Rect::make(0, 0, 1440, 900), "frame-0x0"},
        {Rect::make(-1919.7, 10.9, 1, 1), "frame--1919x10"},
        {Rect::make(-0.5, 0.5, 1, 1), "frame-0x0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Displays::frameKey(c.frame), c.key);

    FakePlatform fake;
    auto withUuid = fake.screens->add(Rect::make(0, 0, 1440, 900), "Built-in", 1, "37D8832A-2D66-02CA-B9F7-8F30A301B230");
    auto numberOnly = fake.screens->add(Rect::make(1440, 0, 1920, 1080), "DELL", 2);
    auto noNumber = fake.screens->add(Rect::make(2560, -1440, 2560, 1440), "LG", std::nullopt, "IGNORED");
    EXPECT_EQ(Displays::key(*withUuid), "37D8832A-2D66-02CA-B9F7-8F30A301B230");
    EXPECT_EQ(Displays::key(*numberOnly), "frame-1440x0");
    EXPECT_EQ(Displays::key(*noNumber), "frame-2560x-1440");
}

TEST(Displays, AreSortedByXThenYStablyWithDuplicateNamesNumberedLeftToRight) {
    FakePlatform fake;
    fake.screens->add(Rect::make(0, 0, 1512, 982), "Built-in Retina Display", 1);
    fake.screens->add(Rect::make(1512, 0, 2560, 1440), "DELL U2720Q", 3);
    fake.screens->add(Rect::make(-2560, 0, 2560, 1440), "DELL U2720Q", 2);
    auto displays = Displays::current();
    ASSERT_EQ(displays.size(), 3u);
    EXPECT_EQ(displays[0], (DisplayInfo{"frame--2560x0", "DELL U2720Q 1", Rect::make(-2560, 0, 2560, 1440)}));
    EXPECT_EQ(displays[1], (DisplayInfo{"frame-0x0", "Built-in Retina Display", Rect::make(0, 0, 1512, 982)}));
    EXPECT_EQ(displays[2], (DisplayInfo{"frame-1512x0", "DELL U2720Q 2", Rect::make(1512, 0, 2560, 1440)}));

    // Sorted by x, then y, stably.
    fake.screens->list.clear();
    fake.screens->add(Rect::make(0, 900, 1440, 900), "Upper", std::nullopt);
    fake.screens->add(Rect::make(0, 0, 1440, 900), "Lower", std::nullopt);
    fake.screens->add(Rect::make(-10, 5000, 10, 10), "Leftmost", std::nullopt);
    fake.screens->add(Rect::make(0, 0, 800, 600), "Twin of lower", std::nullopt);
    std::vector<std::string> names;
    for (auto& display : Displays::current())
        names.push_back(display.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Leftmost", "Lower", "Twin of lower", "Upper"}));
}

TEST(Displays, ScreenOfAView) {
    FakePlatform fake;
    auto left = fake.screens->add(Rect::make(-1920, 0, 1920, 1080), "Left", 2);
    auto main = fake.screens->add(Rect::make(0, 0, 1440, 900), "Main", 1);
    auto view = platform::View::create(Rect::make(0, 0, 100, 100));
    EXPECT_FALSE(Displays::screen(*view)) << "outside any window";

    auto window = platform::Window::create(Rect::make(100, 100, 400, 300), platform::WindowStyle::Borderless);
    window->setContentView(view);
    auto& backend = FakeWindowBackend::of(*window);
    backend.screenOverride = left;
    EXPECT_EQ(Displays::screen(*view), left) << "the screen the window reports";

    backend.screenOverride = std::shared_ptr<platform::Screen>();
    EXPECT_EQ(Displays::screen(*view), main) << "the first screen the window's frame meets";
    window->setFrame(Rect::make(-100, 100, 400, 300));
    EXPECT_EQ(Displays::screen(*view), left) << "in the system's order of screens";
    window->setFrame(Rect::make(5000, 5000, 10, 10));
    EXPECT_FALSE(Displays::screen(*view));
}
