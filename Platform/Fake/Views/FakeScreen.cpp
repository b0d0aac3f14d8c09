#include "Platform/Fake/Views/FakeScreen.hpp"

namespace orrelith::platform {

std::shared_ptr<FakeScreen> FakeScreen::make(const Rect& frame, std::string name,
                                             std::optional<std::uint32_t> displayNumber) {
    auto screen = std::make_shared<FakeScreen>();
    screen->frameValue = frame;
    screen->name = std::move(name);
    if (displayNumber)
        screen->description[screenNumberKey] = static_cast<std::int64_t>(*displayNumber);
    return screen;
}

} // namespace orrelith::platform
