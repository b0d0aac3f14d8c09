#include "Saver/Displays.hpp"

#include "Platform/Platform.hpp"
#include "Platform/Views/Window.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace orrelith {

namespace {

constexpr double maxDisplayNumber = std::numeric_limits<std::uint32_t>::max();

std::optional<std::uint32_t> asDisplayNumber(const platform::DeviceValue& value) {
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        if (*integer < 0 || *integer > static_cast<std::int64_t>(maxDisplayNumber))
            return std::nullopt;
        return static_cast<std::uint32_t>(*integer);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        if (!std::isfinite(*real) || *real < 0 || *real >= maxDisplayNumber + 1)
            return std::nullopt;
        return static_cast<std::uint32_t>(*real);
    }
    return std::nullopt;
}

std::string truncated(double coordinate) {
    if (!std::isfinite(coordinate))
        return "0";
    double clamped = std::clamp(std::trunc(coordinate), -9.0e18, 9.0e18);
    return std::to_string(static_cast<long long>(clamped));
}

} // namespace

std::optional<std::uint32_t> Displays::displayID(const platform::Screen& screen) {
    auto description = screen.deviceDescription();
    auto found = description.find(platform::Screen::screenNumberKey);
    if (found == description.end())
        return std::nullopt;
    return asDisplayNumber(found->second);
}

std::string Displays::key(const platform::Screen& screen) {
    if (auto number = displayID(screen))
        if (auto text = platform::screens().displayUUID(*number))
            return *text;
    return frameKey(screen.frame());
}

std::string Displays::frameKey(const platform::Rect& frame) {
    return "frame-" + truncated(frame.minX()) + "x" + truncated(frame.minY());
}

std::shared_ptr<platform::Screen> Displays::screen(const platform::View& view) {
    auto window = view.window();
    if (!window)
        return nullptr;
    if (auto screen = window->screen())
        return screen;
    auto frame = window->frame();
    for (auto& candidate : platform::screens().screens())
        if (candidate->frame().intersects(frame))
            return candidate;
    return nullptr;
}

std::vector<DisplayInfo> Displays::current() {
    auto screens = platform::screens().screens();
    std::stable_sort(screens.begin(), screens.end(), [](const auto& a, const auto& b) {
        auto fa = a->frame();
        auto fb = b->frame();
        return fa.minX() != fb.minX() ? fa.minX() < fb.minX() : fa.minY() < fb.minY();
    });
    std::map<std::string, int> carriers;
    for (auto& screen : screens)
        ++carriers[screen->localizedName()];
    std::map<std::string, int> numbered;
    std::vector<DisplayInfo> displays;
    for (auto& screen : screens) {
        auto name = screen->localizedName();
        if (carriers[name] > 1)
            name += " " + std::to_string(++numbered[name]);
        displays.push_back({key(*screen), name, screen->frame()});
    }
    return displays;
}

} // namespace orrelith
