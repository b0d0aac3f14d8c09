#pragma once

#include "Platform/Views/Geometry.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace orrelith::platform {

using DeviceValue = std::variant<std::int64_t, double, std::string>;
using DeviceDescription = std::map<std::string, DeviceValue>;

// One attached display. Main thread only. A Screen object stays valid after its monitor is detached; it
// then keeps answering what it knew.
class Screen {
public:
    // The key of the display number in the device description.
    static constexpr const char* screenNumberKey = "NSScreenNumber";

    virtual ~Screen() = default;
    // Global points, y upward, the primary monitor's lower-left corner at (0, 0).
    virtual Rect frame() const = 0;
    virtual std::string localizedName() const = 0;
    // Holds "NSScreenNumber" with the display number, which stays the same while the monitor is attached.
    virtual DeviceDescription deviceDescription() const = 0;
};

// The list of displays. Main thread only.
class ScreenList {
public:
    virtual ~ScreenList() = default;
    // All attached screens in the system's order; the primary one first.
    virtual std::vector<std::shared_ptr<Screen>> screens() = 0;
    // The screen with the focused window, else the primary one; null when there is no screen at all.
    virtual std::shared_ptr<Screen> mainScreen() = 0;
    // The persistent UUID of a display number in canonical upper-case text, or nothing when the display
    // has none (no readable identity) or the number is unknown.
    virtual std::optional<std::string> displayUUID(std::uint32_t displayNumber) = 0;
    // `changed` runs on the main thread, on a later turn, after monitors were attached or detached or moved
    // (several changes may come as one call). A monitor may be listed before its frame is known (empty). One handler at a time; null stops the calls.
    virtual void setChangeHandler(std::function<void()> changed) = 0;
};

} // namespace orrelith::platform
