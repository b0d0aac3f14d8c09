#include "Platform/Linux/Update/UpdateInstaller.hpp"

#include <gio/gio.h>

#include <string>

namespace orrelith::platform {

std::filesystem::path UpdateInstaller::stagingFolder(const std::filesystem::path& bundle, int processIdentifier) {
    return bundle.parent_path() /
           ("." + bundle.filename().string() + "." + std::to_string(processIdentifier) + ".update");
}

void UpdateInstaller::install(const std::filesystem::path& staged, const std::filesystem::path& bundle,
                              const std::filesystem::path& staging, const PutInPlace& putInPlace) {
    putInPlace(staged, bundle);
    // The old bundle is now inside the staging folder; a failure to remove it only leaves a hidden folder.
    std::error_code ignored;
    std::filesystem::remove_all(staging, ignored);
}

bool UpdateInstaller::relaunch(const std::filesystem::path& executable) {
    std::string program = executable.string();
    char* argv[] = {program.data(), nullptr};
    GError* error = nullptr;
    bool started = g_spawn_async(executable.parent_path().c_str(), argv, nullptr,
                                 static_cast<GSpawnFlags>(G_SPAWN_DEFAULT | G_SPAWN_STDIN_FROM_DEV_NULL), nullptr,
                                 nullptr, nullptr, &error);
    g_clear_error(&error);
    return started;
}

} // namespace orrelith::platform
