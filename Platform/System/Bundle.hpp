#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orrelith::platform {

// A bundle: a folder with Contents/Info.plist, its code in Contents/Linux/ and its resources in
// Contents/Resources/. A plain value read once from disk.
struct Bundle {
    std::filesystem::path bundlePath;
    // Contents/Resources when that folder exists.
    std::optional<std::filesystem::path> resourcePath;
    // The string-valued members of Contents/Info.plist (other members are left out).
    std::map<std::string, std::string> infoDictionary;
    // Contents/Linux/<CFBundleExecutable> when the dictionary names one.
    std::optional<std::filesystem::path> executablePath;

    std::optional<std::string> info(const std::string& key) const {
        auto found = infoDictionary.find(key);
        if (found == infoDictionary.end())
            return std::nullopt;
        return found->second;
    }
    std::optional<std::string> bundleIdentifier() const { return info("CFBundleIdentifier"); }
    friend bool operator==(const Bundle&, const Bundle&) = default;
};

} // namespace orrelith::platform
