#pragma once

#include "Platform/Linux/System/PlistUserDefaults.hpp"

#include <filesystem>
#include <memory>
#include <string>

namespace orrelith::platform {

// Preferences as property lists under <home>/Library/Preferences: the application's standard defaults in
// "<identifier>.plist", a screen-saver module's defaults in "ByHost/<module name>.plist". The standard
// defaults are one object for the process; a module's defaults are read afresh on every request, so a
// reader sees what another process wrote meanwhile. Main thread only.
class PlistPreferences : public Preferences {
public:
    PlistPreferences(std::filesystem::path home, std::string applicationIdentifier);

    std::shared_ptr<UserDefaults> standardUserDefaults() override;
    // Null for a module name that is empty or would leave the folder.
    std::shared_ptr<UserDefaults> screenSaverDefaults(std::string_view moduleName) override;

    std::filesystem::path folder() const { return home_ / "Library" / "Preferences"; }

private:
    std::filesystem::path home_;
    std::string identifier_;
    std::shared_ptr<PlistUserDefaults> standard_;
};

} // namespace orrelith::platform
