#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Platform/System/Bundle.hpp"

namespace orrelith::platform {

// The process, its code and its user. Thread-safe.
class System {
public:
    virtual ~System() = default;
    // The bundle whose code holds `codeAddress` (an address of a function of that library or executable):
    // inside the host that is the plug-in's .saver bundle, never the host's own. Nothing when the code does
    // not lie inside a bundle.
    virtual std::optional<Bundle> bundleContaining(const void* codeAddress) = 0;
    // The bundle at a folder, or nothing when it holds no readable Contents/Info.plist.
    virtual std::optional<Bundle> bundleAt(const std::filesystem::path& folder) = 0;
    // The running executable's bundle, or nothing when it does not run from one.
    virtual std::optional<Bundle> mainBundle() = 0;
    virtual std::vector<std::string> arguments() = 0;
    virtual int processIdentifier() = 0;
    // The current user's home folder from the user database, never from the environment.
    virtual std::filesystem::path homeFolder() = 0;
    // The folder the user's downloads go to, as the desktop names it; nothing when downloads go to the
    // home folder itself.
    virtual std::optional<std::filesystem::path> downloadsFolder() = 0;
    // One line in the system log.
    virtual void log(const std::string& message) = 0;
};

} // namespace orrelith::platform
