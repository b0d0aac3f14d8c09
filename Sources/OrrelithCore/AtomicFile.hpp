#pragma once

#include <filesystem>
#include <string_view>

namespace orrelith {

// Replaces a file's contents so that a reader, or a crash at any moment, sees the old file or the new one
// whole, never part of one. Synchronous on the caller's thread.
struct AtomicFile {
    // Makes the folders, writes `bytes` fully to a temporary file in the file's folder, flushes it to
    // disk, renames it over `file` and flushes the folder. An existing file keeps its mode; a new one gets
    // 0666 less the umask. Throws std::system_error or std::filesystem::filesystem_error when the file
    // system refuses; then `file` is as it was and no temporary file is left behind.
    static void write(const std::filesystem::path& file, std::string_view bytes);
};

} // namespace orrelith
