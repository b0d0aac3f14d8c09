#include "SaverBundles.hpp"

#include "TemporaryFolder.hpp"

#include <fstream>
#include <set>

namespace orrelith::testing {

namespace {

std::string entry(const char* key, const std::optional<std::string>& value) {
    return value ? std::string("<key>") + key + "</key><string>" + *value + "</string>" : std::string();
}

} // namespace

void SaverBundles::write(const std::filesystem::path& folder, const std::optional<std::string>& shortVersion,
                         const std::optional<std::string>& build, const std::string& mark) {
    std::filesystem::create_directories(folder / "Contents" / "Resources");
    std::ofstream(folder / "Contents" / "Info.plist")
        << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>" << entry("CFBundleShortVersionString", shortVersion)
        << entry("CFBundleVersion", build) << "<key>Mark</key><string>" << mark << "</string></dict></plist>";
    for (int i = 0; i < fileCount; ++i)
        std::ofstream(folder / "Contents" / "Resources" / ("file" + std::to_string(i) + ".txt")) << mark;
}

std::string SaverBundles::wholeCopy(const std::filesystem::path& folder) {
    if (!std::filesystem::exists(folder))
        return "nothing";
    std::set<std::string> marks;
    for (int i = 0; i < fileCount; ++i) {
        auto file = folder / "Contents" / "Resources" / ("file" + std::to_string(i) + ".txt");
        marks.insert(std::filesystem::exists(file) ? TemporaryFolder::read(file) : std::string("missing"));
    }
    auto info = TemporaryFolder::read(folder / "Contents" / "Info.plist");
    bool infoAgrees = marks.size() == 1 && info.find("<string>" + *marks.begin() + "</string></dict>") != std::string::npos;
    return infoAgrees ? *marks.begin() : "mixture";
}

} // namespace orrelith::testing
