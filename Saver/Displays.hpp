#pragma once

#include "Platform/Views/Screen.hpp"
#include "Platform/Views/View.hpp"
#include "Saver/DisplayInfo.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orrelith {

// Which display a screen or a view is, by a key that stays the same across restarts and processes: the
// display's UUID when the system has one, else a key made from the frame's origin. Holds no state; asks
// the installed platform. Main thread only.
struct Displays {
    // The display number from the screen's device description, or nothing when it is missing or not a
    // number an unsigned 32-bit display number can be.
    static std::optional<std::uint32_t> displayID(const platform::Screen& screen);
    // The display's key: its UUID text, else frameKey of its frame.
    static std::string key(const platform::Screen& screen);
    // "frame-" with the frame's minimum x and y, each truncated toward zero: "frame--1920x0".
    static std::string frameKey(const platform::Rect& frame);
    // The screen the view's window is on; else the first screen that the window's frame meets; nothing
    // for a view outside any window.
    static std::shared_ptr<platform::Screen> screen(const platform::View& view);
    // Every attached display, sorted by minimum x and then minimum y, names numbered left to right where
    // several displays share one.
    static std::vector<DisplayInfo> current();
};

} // namespace orrelith
