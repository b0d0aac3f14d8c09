#include "Platform/Fake/App/FakeApplication.hpp"

namespace orrelith::platform {

int FakeApplication::run() {
    runs.push_back(policy_);
    if (auto delegate = delegate_.lock())
        delegate->applicationDidFinishLaunching();
    return 0;
}

void FakeApplication::closeLastWindow() {
    auto delegate = delegate_.lock();
    if (delegate && delegate->applicationShouldTerminateAfterLastWindowClosed())
        terminate();
}

std::optional<MenuItem> FakeApplication::item(const std::string& title) const {
    for (const auto& menu : mainMenu)
        for (const auto& entry : menu.items)
            if (entry.title == title)
                return entry;
    return std::nullopt;
}

} // namespace orrelith::platform
