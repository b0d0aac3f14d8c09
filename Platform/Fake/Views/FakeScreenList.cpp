#include "Platform/Fake/Views/FakeScreenList.hpp"

namespace orrelith::platform {

std::vector<std::shared_ptr<Screen>> FakeScreenList::screens() { return {list.begin(), list.end()}; }

std::shared_ptr<Screen> FakeScreenList::mainScreen() {
    if (main)
        return main;
    if (list.empty())
        return nullptr;
    return list.front();
}

std::optional<std::string> FakeScreenList::displayUUID(std::uint32_t displayNumber) {
    record_.uuidRequests.push_back(displayNumber);
    auto found = uuids.find(displayNumber);
    if (found == uuids.end())
        return std::nullopt;
    return found->second;
}

std::shared_ptr<FakeScreen> FakeScreenList::add(const Rect& frame, std::string name,
                                                std::optional<std::uint32_t> displayNumber,
                                                std::optional<std::string> uuid) {
    auto screen = FakeScreen::make(frame, std::move(name), displayNumber);
    list.push_back(screen);
    if (displayNumber && uuid)
        uuids[*displayNumber] = *uuid;
    return screen;
}

} // namespace orrelith::platform
