#pragma once

#include <filesystem>
#include <map>
#include <string>

// A folder of its own under the temporary folder, removed with the object.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Lays out a bundle at `folder`: Contents/Info.plist with the string members given and, when `module` is
// not empty, Contents/Linux/<CFBundleExecutable> linking to it.
void makeBundle(const std::filesystem::path& folder, const std::map<std::string, std::string>& info,
                const std::filesystem::path& module);
