#pragma once

#include "Platform/App/DownloadOrigin.hpp"

namespace orrelith::platform {

// Removes "user.xdg.origin.url" and "user.xdg.referrer.url" with lremovexattr, walking the tree without
// following symbolic links.
class XattrDownloadOrigin : public DownloadOrigin {
public:
    static constexpr const char* attributes[] = {"user.xdg.origin.url", "user.xdg.referrer.url"};

    void remove(const std::filesystem::path& path) override;
};

} // namespace orrelith::platform
