#include "TemporaryBundle.hpp"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace orrelith::testing {

namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary);
    file << content;
}

} // namespace

TemporaryBundle::TemporaryBundle() : temporary_("scene-web"), folder_(temporary_.path()) {
    fs::create_directories(root());
}

platform::Bundle TemporaryBundle::bundle() const {
    platform::Bundle bundle;
    bundle.bundlePath = folder_ / "Quorvane.saver";
    bundle.resourcePath = resources();
    return bundle;
}

void TemporaryBundle::write(const std::string& relative, const std::string& content) const {
    writeFile(root() / relative, content);
}

void TemporaryBundle::writeOutside(const std::string& relative, const std::string& content) const {
    writeFile(folder_ / relative, content);
}

} // namespace orrelith::testing
