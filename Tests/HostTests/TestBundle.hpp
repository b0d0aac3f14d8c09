#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "TemporaryFolder.hpp"

using orrelith::testing::TemporaryFolder;

// Lays out a bundle at `folder`: Contents/Info.plist with the string members given and, when `module` is
// not empty, Contents/Linux/<CFBundleExecutable> linking to it.
void makeBundle(const std::filesystem::path& folder, const std::map<std::string, std::string>& info,
                const std::filesystem::path& module);
