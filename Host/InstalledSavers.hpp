#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orrelith::host {

// One screen saver the settings pane offers.
struct InstalledSaver {
    // Elsewhere: a bundle given on the command line, not installed.
    enum class Scope { User, System, Elsewhere };

    // The bundle's folder name without ".saver": what --saver takes.
    std::string name;
    std::filesystem::path bundle;
    Scope scope = Scope::User;

    friend bool operator==(const InstalledSaver&, const InstalledSaver&) = default;
};

// The screen savers installed for the user: "<name>.saver" folders in the user's "Library/Screen Savers",
// then in the system-wide "/Library/Screen Savers"; a user's copy hides a system one of the same name.
// Plain file-system reads on the caller's thread; a folder that cannot be read lists nothing.
struct InstalledSavers {
    static constexpr const char* systemFolder = "/Library/Screen Savers";

    static std::filesystem::path userFolder(const std::filesystem::path& home) {
        return home / "Library" / "Screen Savers";
    }
    // Sorted by name.
    static std::vector<InstalledSaver> list(const std::filesystem::path& userFolder,
                                            const std::filesystem::path& systemFolder);
};

} // namespace orrelith::host
