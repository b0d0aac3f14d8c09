#pragma once

#include <filesystem>
#include <functional>

namespace orrelith {

// The file operations that install the screen saver, one function each, so that tests can make any of
// them fail. Each throws std::system_error whose text is a message for the user when the file system
// refuses. Synchronous.
struct SaverFiles {
    // How a finished copy takes the installed one's place.
    enum class Exchange {
        // One renameat2(RENAME_EXCHANGE): the path holds the old copy or the new one, never neither.
        atomic,
        // Where the file system cannot exchange: the old copy is renamed aside, the new one renamed in, and
        // the old copy renamed back if that fails. Only between the two renames (a crash there) is the
        // path empty; the whole old copy then waits beside it and the next start installs the new one.
        renameAside
    };

    // Makes the folder and the folders above it.
    std::function<void(const std::filesystem::path& folder)> createFolder;
    // Copies a bundle folder, symbolic links as links.
    std::function<void(const std::filesystem::path& from, const std::filesystem::path& to)> copy;
    // Puts the finished `replacement` at `installed`. When a copy was installed, it ends up at
    // `replacement`'s path for the caller to remove.
    std::function<void(const std::filesystem::path& replacement, const std::filesystem::path& installed)> putInPlace;

    // The real operations; putInPlace exchanges atomically where the file system can, else renames aside.
    static SaverFiles real();
    static void replace(const std::filesystem::path& replacement, const std::filesystem::path& installed,
                        Exchange exchange);
};

} // namespace orrelith
