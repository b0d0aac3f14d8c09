#include "Platform/Linux/App/XattrDownloadOrigin.hpp"

#include <sys/xattr.h>

namespace orrelith::platform {

namespace {

void removeMarks(const std::filesystem::path& item) {
    for (const char* name : XattrDownloadOrigin::attributes)
        ::lremovexattr(item.c_str(), name);
}

} // namespace

void XattrDownloadOrigin::remove(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error)))
        return;
    removeMarks(path);
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(path, error)))
        return;
    auto options = std::filesystem::directory_options::skip_permission_denied;
    for (std::filesystem::recursive_directory_iterator it(path, options, error), end; !error && it != end;
         it.increment(error))
        removeMarks(it->path());
}

} // namespace orrelith::platform
