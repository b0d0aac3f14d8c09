#pragma once

#include "Platform/Views/Screen.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace orrelith::platform {

// One display in memory; a test sets its fields directly. Main thread only.
class FakeScreen : public Screen {
public:
    // A screen with "NSScreenNumber" set to `displayNumber`, or without it when there is none.
    static std::shared_ptr<FakeScreen> make(const Rect& frame, std::string name,
                                            std::optional<std::uint32_t> displayNumber);

    Rect frame() const override { return frameValue; }
    std::string localizedName() const override { return name; }
    DeviceDescription deviceDescription() const override { return description; }

    Rect frameValue;
    std::string name;
    DeviceDescription description;
};

} // namespace orrelith::platform
