#pragma once

#include "Platform/Linux/System/PlistUserDefaults.hpp"

#include <filesystem>
#include <memory>
#include <string>

namespace orrelith::platform {

// Preferences as property lists under <home>/Library/Preferences: the application's standard defaults in
// "<identifier>.plist", a screen-saver module's defaults in "ByHost/<module name>.plist". The standard
// defaults are one object for the process, made afresh once a GFileMonitor on the folder reports that the
// file was written, replaced (an atomic write renames a new file over it) or removed; a module's defaults
// are read afresh on every request, so a reader sees what another process wrote meanwhile. Main thread only.
class PlistPreferences : public Preferences {
public:
    PlistPreferences(std::filesystem::path home, std::string applicationIdentifier);
    ~PlistPreferences() override;
    PlistPreferences(const PlistPreferences&) = delete;
    PlistPreferences& operator=(const PlistPreferences&) = delete;

    std::shared_ptr<UserDefaults> standardUserDefaults() override;
    // Null for a module name that is empty or would leave the folder.
    std::shared_ptr<UserDefaults> screenSaverDefaults(std::string_view moduleName) override;
    void setStandardDefaultsChangeHandler(std::function<void()> handler) override;

    std::filesystem::path folder() const { return home_ / "Library" / "Preferences"; }

private:
    struct Watch;
    void folderChanged(const std::string& name);

    std::filesystem::path home_;
    std::string identifier_;
    std::shared_ptr<PlistUserDefaults> standard_;
    std::unique_ptr<Watch> watch_;
};

} // namespace orrelith::platform
