#include "TestBundle.hpp"

#include <fstream>

void makeBundle(const std::filesystem::path& folder, const std::map<std::string, std::string>& info,
                const std::filesystem::path& module) {
    std::filesystem::create_directories(folder / "Contents" / "Linux");
    std::ofstream plist(folder / "Contents" / "Info.plist");
    plist << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
    for (const auto& [key, value] : info)
        plist << "\t<key>" << key << "</key>\n\t<string>" << value << "</string>\n";
    plist << "</dict>\n</plist>\n";
    auto executable = info.find("CFBundleExecutable");
    if (!module.empty() && executable != info.end())
        std::filesystem::create_symlink(module, folder / "Contents" / "Linux" / executable->second);
}
