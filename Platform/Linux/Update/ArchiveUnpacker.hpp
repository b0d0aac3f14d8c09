#pragma once

#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace orrelith::platform {

// Unpacks an xz-compressed tar archive held in memory with libarchive. Every entry is checked before
// anything is written: an absolute path, a ".." part, a hard link, a device, pipe or socket, a symbolic
// link that leads out of the archive, or more than a bounded size refuses the whole archive. Extraction
// then runs with libarchive's own guards as well. Owners are not restored and set-id bits are dropped.
// Any thread; blocking.
struct ArchiveUnpacker {
    struct Refused : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    // Unpacks into `destination`, which must not exist yet and is created. Throws Refused (with nothing
    // written) for an unsafe or unreadable archive; on a failure while writing, removes `destination`.
    static void unpack(std::string_view archive, const std::filesystem::path& destination);
};

} // namespace orrelith::platform
