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
    TemporaryBundle() { std::filesystem::create_directories(root()); }

    const std::filesystem::path& folder() const { return temporary_.path(); }
    std::filesystem::path resources() const { return folder() / "Quorvane.saver" / "Contents" / "Resources"; }
    std::filesystem::path root() const { return resources() / "ORVEX"; }
    platform::Bundle bundle() const { return platform::Bundle{folder() / "Quorvane.saver", resources(), {}, {}}; }

    // Writes `content` to `relative` below the content root, making folders as needed.
    void write(const std::string& relative, const std::string& content) const {
        temporary_.write(root().lexically_relative(folder()) / relative, content);
    }
    // Writes `content` to `relative` below the temporary folder, outside the bundle.
    void writeOutside(const std::string& relative, const std::string& content) const {
        temporary_.write(relative, content);
    }

private:
    TemporaryFolder temporary_{"scene-web"};
};

} // namespace orrelith::testing
