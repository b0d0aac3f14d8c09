#include "Platform/Fake/System/FakePreferences.hpp"

namespace orrelith::platform {

std::shared_ptr<UserDefaults> FakePreferences::standardUserDefaults() {
    ++record_.standardRequests;
    return standard;
}

std::shared_ptr<UserDefaults> FakePreferences::screenSaverDefaults(std::string_view moduleName) {
    record_.moduleRequests.emplace_back(moduleName);
    if (!screenSaverDefaultsAvailable)
        return nullptr;
    return module(moduleName);
}

std::shared_ptr<FakeUserDefaults> FakePreferences::module(std::string_view moduleName) {
    auto found = modules.find(moduleName);
    if (found != modules.end())
        return found->second;
    auto domain = std::make_shared<FakeUserDefaults>();
    modules.emplace(std::string(moduleName), domain);
    return domain;
}

} // namespace orrelith::platform
