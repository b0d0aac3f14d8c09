#pragma once

#include <filesystem>
#include <string>

namespace orrelith::host {

// The XDG autostart entry that starts the screen-saver daemon when the user logs in: "<name>.desktop" in
// the autostart folder of the user's configuration folder ($XDG_CONFIG_HOME when it is an absolute path,
// else ~/.config). Plain file operations on the caller's thread.
struct AutostartEntry {
    static constexpr const char* fileName = "quorvane-host.desktop";

    // Where the entry goes. `xdgConfigHome` is the variable's value, or null when it is unset.
    static std::filesystem::path file(const std::filesystem::path& home, const char* xdgConfigHome);
    // The entry starting `program` (an absolute path) with --daemon.
    static std::string contents(const std::filesystem::path& program);
    // Writes the entry atomically, making the folders. Throws std::system_error or
    // std::filesystem::filesystem_error when the file system refuses.
    static void install(const std::filesystem::path& file, const std::filesystem::path& program);
    // Removes the entry; nothing when there is none.
    static void remove(const std::filesystem::path& file);
};

} // namespace orrelith::host
