#include "HostRunFixture.hpp"

#include "../Platform/MainLoopSupport.hpp"
#include "Platform/Linux/LinuxPlatform.hpp"
#include "Platform/System/NotificationCenter.hpp"
#include "Platform/System/System.hpp"
#include "Platform/Views/ScreenSaverView.hpp"

#include <cstdlib>
#include <fstream>
#include <iostream>

using namespace orrelith::platform;

namespace {
const std::string willStop = ScreenSaverView::willStopNotification;
const std::string didStop = ScreenSaverView::didStopNotification;

std::filesystem::path settingsFile() {
    return system().homeFolder() / "Library" / "Application Support" / "ORVEX" / "settings.json";
}

} // namespace

void HostRunFixture::SetUpTestSuite() {
    if (!installed().distributedCenter)
        install(linuxServices());
}

void HostRunFixture::SetUp() {
    const char* throwaway = std::getenv("ORRELITH_THROWAWAY_HOME");
    if (!throwaway || std::filesystem::path(throwaway) != system().homeFolder())
        GTEST_SKIP() << "the host reads the settings of the user running it: run this test as a throwaway user "
                        "(Tests/Integration/Host/as-throwaway-user.sh, as root)";
    std::error_code ignored;
    std::filesystem::remove(settingsFile(), ignored);
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvane-host-run.XXXXXX").string();
    ASSERT_TRUE(mkdtemp(pattern.data()));
    folder_ = pattern;
    auto names = received;
    for (const auto& name : {willStop, didStop})
        distributedCenter().addObserver(this, name, [names, name] { names->push_back(name); });
}

void HostRunFixture::TearDown() {
    if (folder_.empty())
        return;
    distributedCenter().removeObserver(this);
    // Pictures of failed runs stay for a look.
    if (!HasFailure()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    } else {
        std::cerr << "the host's files are in " << folder_ << "\n";
    }
}

void HostRunFixture::writeSettings(const std::string& json) {
    std::filesystem::create_directories(settingsFile().parent_path());
    std::ofstream(settingsFile()) << json;
}

std::vector<std::string> HostRunFixture::withBundle(std::vector<std::string> more) {
    std::vector<std::string> arguments{"--bundle", ORRELITH_SAVER_BUNDLE};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

std::filesystem::path HostRunFixture::gallery() {
    return std::filesystem::path(ORRELITH_SAVER_BUNDLE) / "Contents" / "Resources" / "ORVEX" / "gallery";
}

std::unique_ptr<HostProcess> HostRunFixture::start(const std::vector<std::string>& arguments,
                                                   const std::vector<std::string>& environment) {
    return std::make_unique<HostProcess>(arguments, file("messages.txt"), environment);
}

void HostRunFixture::expectCleanEnd(HostProcess& host, double seconds) {
    ASSERT_TRUE(host.waitForExit(seconds)) << "still running; it said:\n" << host.messages();
    EXPECT_TRUE(host.exitedNormally()) << host.messages();
    EXPECT_EQ(host.exitStatus(), 0) << host.messages();
    pumpUntil([this] { return received->size() >= 2; }, 5);
    EXPECT_EQ(*received, (std::vector<std::string>{willStop, didStop}));
}
