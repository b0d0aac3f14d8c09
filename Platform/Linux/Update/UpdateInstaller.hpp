#pragma once

#include <filesystem>
#include <functional>

namespace orrelith::platform {

// The last step of an update, run as the application quits: the verified new bundle and the running one
// change places in one step, then the old one is removed. A crash at any moment leaves a whole bundle at
// the application's path, the old or the new. Blocking; main thread.
struct UpdateInstaller {
    // Puts the finished `replacement` at `installed`; the old bundle ends up at `replacement`'s path.
    // Throws std::system_error when the file system refuses.
    using PutInPlace = std::function<void(const std::filesystem::path& replacement, const std::filesystem::path& installed)>;

    // A folder beside `bundle`, on its file system so that the exchange is a rename, for one process.
    static std::filesystem::path stagingFolder(const std::filesystem::path& bundle, int processIdentifier);
    // Installs `staged` (a bundle inside `staging`) at `bundle` and removes `staging` with the old bundle.
    static void install(const std::filesystem::path& staged, const std::filesystem::path& bundle,
                        const std::filesystem::path& staging, const PutInPlace& putInPlace);
    // Starts the bundle's executable on its own, detached from this process. False when it cannot start.
    static bool relaunch(const std::filesystem::path& executable);
};

} // namespace orrelith::platform
