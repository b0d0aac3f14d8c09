#pragma once

#include "Platform/System/System.hpp"
#include "Platform/System/ClassRegistry.hpp"

#include <filesystem>
#include <string>

namespace orrelith::host {

// A screen-saver bundle whose code is loaded, and the principal class its Info.plist names.
struct LoadedSaver {
    platform::Bundle bundle;
    std::string principalClass;
    platform::ClassRegistry::Entry principal;

    // The bundle's CFBundleName, else its folder's name without the extension.
    std::string displayName() const;
};

// Loads a .saver bundle as the host runs it: reads Contents/Info.plist through the installed platform's
// System, loads Contents/Linux/<CFBundleExecutable> (whose loading registers its classes), and finds the
// class NSPrincipalClass names in the class registry. The module stays loaded for the life of the process:
// the registry holds its code. Main thread only.
struct SaverBundleLoader {
    // Throws HostError (failure) saying what is wrong with the bundle.
    static LoadedSaver load(const std::filesystem::path& bundleFolder);
};

} // namespace orrelith::host
