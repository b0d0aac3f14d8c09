#pragma once

#include "Platform/Linux/Update/UpdateInstaller.hpp"
#include "Platform/System/Bundle.hpp"
#include "Platform/Update/UpdateUserInterface.hpp"

#include <functional>
#include <memory>
#include <string>

namespace orrelith::platform {

class UserDefaults;

// What the Linux updater works with: the running bundle and its Info.plist's update keys, where it keeps
// what it remembers, how a staged bundle is put in place, and the wall clock.
struct UpdaterConfiguration {
    static constexpr double defaultCheckInterval = 24 * 60 * 60;

    std::filesystem::path bundlePath;
    std::filesystem::path executablePath;
    std::string bundleIdentifier;
    // CFBundleName and CFBundleShortVersionString, for people.
    std::string name;
    std::string shortVersion;
    // CFBundleVersion: what the feed's sparkle:version is compared with.
    std::string version;
    std::string feedURL;
    std::string publicKey;
    bool automaticChecks = false;
    double checkInterval = defaultCheckInterval;
    // SULastCheckTime and SUSkippedVersion live here.
    std::shared_ptr<UserDefaults> defaults;
    UpdateInstaller::PutInPlace putInPlace;
    // Seconds since the epoch.
    std::function<double()> now;
    // Where releases are offered and downloads shown; without one an offer is never made.
    std::shared_ptr<UpdateUserInterface> userInterface;

    // The update keys of `bundle`'s Info.plist (SUFeedURL, SUPublicEDKey, SUEnableAutomaticChecks,
    // SUScheduledCheckInterval); the rest is left for the caller.
    static UpdaterConfiguration of(const Bundle& bundle);
};

} // namespace orrelith::platform
