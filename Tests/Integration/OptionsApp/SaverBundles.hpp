#pragma once

// Small screen-saver bundles on disk whose every file carries a mark, so that a test can tell a whole
// copy from a mixture; and a platform whose System reads bundles from disk, with the home and the
// application's own bundle where a test puts them.
#include "Platform/Fake/System/FakeSystem.hpp"
#include "Platform/Linux/System/LinuxSystem.hpp"

#include <filesystem>
#include <optional>
#include <string>

namespace orrelith::testing {

class DiskSystem : public platform::FakeSystem {
public:
    std::optional<platform::Bundle> bundleAt(const std::filesystem::path& folder) override {
        return platform::LinuxSystem().bundleAt(folder);
    }
    // Home and application bundle below `root`: root/home and root/<name>.app.
    void placeBelow(const std::filesystem::path& root, const std::string& application = "Quorvane Options.app") {
        homeFolderValue = root / "home";
        platform::Bundle bundle;
        bundle.bundlePath = root / application;
        mainBundleValue = bundle;
    }
};

struct SaverBundles {
    static constexpr int fileCount = 24;

    // A bundle at `folder` with the versions given (a missing one is left out of Info.plist) and `mark`
    // in every file.
    static void write(const std::filesystem::path& folder, const std::optional<std::string>& shortVersion,
                      const std::optional<std::string>& build, const std::string& mark);
    // The inner copy of an application bundle at `application`.
    static std::filesystem::path inner(const std::filesystem::path& application) {
        return application / "Contents" / "Library" / "Screen Savers" / "Quorvane.saver";
    }
    // The mark every file of the bundle carries, "mixture" when they differ or one is missing, and
    // "nothing" when there is no bundle.
    static std::string wholeCopy(const std::filesystem::path& folder);
};

} // namespace orrelith::testing
