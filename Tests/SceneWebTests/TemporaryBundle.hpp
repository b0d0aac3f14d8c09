#pragma once

#include "Platform/System/System.hpp"
#include "TemporaryFolder.hpp"

#include <filesystem>
#include <string>

namespace orrelith::testing {

// A throw-away folder holding a bundle (Quorvane.saver/Contents/Resources/ORVEX) and room beside it for
// files that must stay out of reach. Removed with everything in it when the object goes.
class TemporaryBundle {
public:
    TemporaryBundle();

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path resources() const { return folder_ / "Quorvane.saver" / "Contents" / "Resources"; }
    std::filesystem::path root() const { return resources() / "ORVEX"; }
    platform::Bundle bundle() const;

    // Writes `content` to `relative` below the content root, making folders as needed.
    void write(const std::string& relative, const std::string& content) const;
    // Writes `content` to `relative` below the temporary folder, outside the bundle.
    void writeOutside(const std::string& relative, const std::string& content) const;

private:
    TemporaryFolder temporary_;
    std::filesystem::path folder_;
};

} // namespace orrelith::testing
