#pragma once

#include <filesystem>

namespace orrelith::platform {

// The marks browsers leave on downloaded files (on Linux the extended attributes "user.xdg.origin.url" and
// "user.xdg.referrer.url"). Main thread; synchronous.
class DownloadOrigin {
public:
    virtual ~DownloadOrigin() = default;
    // Removes the marks from `path` and everything below it, following no symbolic link. Failures are
    // ignored: an item that keeps its mark is harmless.
    virtual void remove(const std::filesystem::path& path) = 0;
};

} // namespace orrelith::platform
