#include "Platform/Linux/System/PlistPreferences.hpp"

namespace orrelith::platform {

namespace {

bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

} // namespace

PlistPreferences::PlistPreferences(std::filesystem::path home, std::string applicationIdentifier)
    : home_(std::move(home)), identifier_(isPlainName(applicationIdentifier) ? std::move(applicationIdentifier) : "orrelith") {}

std::shared_ptr<UserDefaults> PlistPreferences::standardUserDefaults() {
    if (!standard_)
        standard_ = std::make_shared<PlistUserDefaults>(folder() / (identifier_ + ".plist"));
    return standard_;
}

std::shared_ptr<UserDefaults> PlistPreferences::screenSaverDefaults(std::string_view moduleName) {
    if (!isPlainName(moduleName))
        return nullptr;
    return std::make_shared<PlistUserDefaults>(folder() / "ByHost" / (std::string(moduleName) + ".plist"));
}

} // namespace orrelith::platform
