// Quorvane Options updating itself for real, as a new user: a copy of the built application in the user's
// Applications folder, pointed at a loopback feed that announces a newer build of that same bundle, signed
// with the test's key. The background check installs it; the next start runs it and installs its screen saver.
#include "../Host/HostProcess.hpp"
#include "../Platform/MainLoopSupport.hpp"
#include "LoopbackServer.hpp"
#include "OrrelithCore/SettingsFile.hpp"
#include "Platform/Linux/System/PlistFile.hpp"
#include "ReleaseArchive.hpp"
#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <map>

namespace {

namespace fs = std::filesystem;
using namespace orrelith::testing;
namespace plistfile = orrelith::platform::plistfile;

const fs::path built = ORRELITH_OPTIONS_BUNDLE;
const fs::path innerSaver = "Contents/Library/Screen Savers/Quorvane.saver";

void setInfo(const fs::path& bundle, const std::map<std::string, std::string>& values) {
    auto file = bundle / "Contents/Info.plist";
    auto info = plistfile::readDictionary(file);
    ASSERT_TRUE(info) << file;
    for (const auto& [key, value] : values)
        plist_dict_set_item(info.get(), key.c_str(), plist_new_string(value.c_str()));
    ASSERT_TRUE(plistfile::writeAtomically(file, info.get()));
}

std::string info(const fs::path& bundle, const std::string& key) {
    auto info = plistfile::readDictionary(bundle / "Contents/Info.plist");
    return info ? plistfile::stringMembers(info.get())[key] : "";
}

std::map<std::string, std::string> versions(const std::string& version, const std::string& shortVersion) {
    return {{"CFBundleVersion", version}, {"CFBundleShortVersionString", shortVersion}};
}

// The copied program, started through env since HostProcess starts the program it is compiled with.
std::unique_ptr<HostProcess> start(const fs::path& bundle, std::vector<std::string> arguments, const fs::path& log) {
    arguments.insert(arguments.begin(), (bundle / "Contents/Linux/Quorvane Options").string());
    return std::make_unique<HostProcess>(arguments, log);
}

TEST(SelfUpdateTests, ABackgroundCheckInstallsTheNewerReleaseAndItsNextStartInstallsItsScreenSaver) {
    if (!std::getenv("ORRELITH_THROWAWAY_HOME"))
        GTEST_SKIP() << "runs only as a throwaway user, whose home it fills";
    const fs::path home = std::getenv("ORRELITH_THROWAWAY_HOME");
    TemporaryFolder work;
    LoopbackServer server;
    ReleaseArchive key;
    auto applications = home / "Applications";
    auto app = applications / "Quorvane Options.app";
    fs::create_directories(applications);
    fs::copy(built, app, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    ASSERT_NO_FATAL_FAILURE(setInfo(app, {{"SUFeedURL", server.base() + "appcast.xml"}, {"SUPublicEDKey", key.publicKey()}}));

    // The next release: this very bundle, its versions and its screen saver's raised.
    auto next = work.path() / "Quorvane Options.app";
    fs::copy(app, next, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    ASSERT_NO_FATAL_FAILURE(setInfo(next, versions("10001", "1.0.1")));
    ASSERT_NO_FATAL_FAILURE(setInfo(next / innerSaver, versions("1.0.1", "1.0.1")));
    auto archive = ReleaseArchive::make(ReleaseArchive::folder(next, "Quorvane Options.app"));
    server.serve("/release.tar.xz", archive);
    server.serve("/appcast.xml", feedOf(key.item(archive, "10001", server.base() + "release.tar.xz")));

    // "Update automatically", as the options window saves it.
    orrelith::Settings settings;
    settings.autoInstallUpdates = true;
    orrelith::SettingsFile::inSupport(home, "ORVEX").save(settings);

    auto check = start(app, {"--check-updates"}, work.path() / "check.log");
    ASSERT_TRUE(check->waitForExit(60)) << check->messages();
    EXPECT_EQ(check->exitStatus(), 0) << check->messages();
    EXPECT_EQ(server.count("/release.tar.xz"), 1);
    EXPECT_EQ(info(app, "CFBundleVersion"), "10001") << check->messages();
    EXPECT_EQ(info(app, "CFBundleShortVersionString"), "1.0.1");
    std::vector<fs::path> beside(fs::directory_iterator(applications), {});
    EXPECT_EQ(beside, std::vector<fs::path>{app}) << "nothing staged is left";

    auto installed = home / "Library/Screen Savers/Quorvane.saver";
    auto second = start(app, {}, work.path() / "second.log");
    EXPECT_TRUE(pumpUntil([&] { return info(installed, "CFBundleVersion") == "1.0.1"; }, 60)) << second->messages();
    ASSERT_TRUE(pumpUntil([] { return !commandOutput("xdotool search --onlyvisible --name '^Quorvane$'").empty(); }, 60))
        << second->messages();
    second->sendSignal(SIGTERM);
    EXPECT_TRUE(second->waitForExit(20)) << second->messages();
}

} // namespace
