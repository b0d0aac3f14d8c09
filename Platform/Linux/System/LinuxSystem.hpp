#pragma once

#include "Platform/System/System.hpp"

namespace orrelith::platform {

// The process on Linux. The bundle of a piece of code is found from the file that dladdr names for the
// address, walking up to the folder whose Contents/ holds an Info.plist (XML or binary). The home folder
// is the user database's entry for getuid(), never $HOME. Log lines go to syslog. Thread-safe: it keeps
// no state.
class LinuxSystem : public System {
public:
    std::optional<Bundle> bundleContaining(const void* codeAddress) override;
    std::optional<Bundle> bundleAt(const std::filesystem::path& folder) override;
    std::optional<Bundle> mainBundle() override;
    std::vector<std::string> arguments() override;
    int processIdentifier() override;
    std::filesystem::path homeFolder() override;
    // XDG_DOWNLOAD_DIR of the home's .config/user-dirs.dirs, else the home's "Downloads".
    std::optional<std::filesystem::path> downloadsFolder() override;
    void log(const std::string& message) override;

    // The bundle folder that holds `file` somewhere below its Contents folder, or nothing.
    static std::optional<std::filesystem::path> bundleFolderHolding(const std::filesystem::path& file);
    // NUL-separated arguments as /proc/<pid>/cmdline holds them.
    static std::vector<std::string> splitCommandLine(const std::string& bytes);
    // The download folder that a user-dirs.dirs file's text names ("$HOME/..." or an absolute path, in
    // double quotes, with backslash escapes); home's "Downloads" when it names none, nothing when it names
    // home itself or a relative path.
    static std::optional<std::filesystem::path> downloadsFolderIn(const std::string& userDirs,
                                                                 const std::filesystem::path& home);
};

} // namespace orrelith::platform
