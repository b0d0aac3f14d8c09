#pragma once

#include "Platform/App/DownloadOrigin.hpp"

#include <vector>

namespace orrelith::platform {

// Records the paths whose download marks were removed.
class FakeDownloadOrigin : public DownloadOrigin {
public:
    void remove(const std::filesystem::path& path) override { removals.push_back(path); }

    std::vector<std::filesystem::path> removals;
};

} // namespace orrelith::platform
