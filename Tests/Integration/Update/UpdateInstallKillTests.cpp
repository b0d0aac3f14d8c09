#include "OptionsApp/SaverFiles.hpp"
#include "Platform/Linux/Update/UpdateInstaller.hpp"
#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

namespace orrelith::platform {
namespace {

const char* const parts[] = {"Contents/Info.plist", "Contents/Linux/Quorvane Options", "Contents/Resources/a",
                             "Contents/Resources/b", "Contents/Library/Screen Savers/Quorvane.saver/Contents/Info.plist"};

void makeBundle(orrelith::testing::TemporaryFolder& folder, const std::filesystem::path& bundle, const std::string& version) {
    for (const char* part : parts)
        folder.write(bundle / part, version);
}

// The version every part of the bundle carries; empty when a part is missing or the parts disagree.
std::string wholeVersion(const std::filesystem::path& bundle) {
    std::string version;
    for (const char* part : parts) {
        auto text = orrelith::testing::TemporaryFolder::read(bundle / part);
        if (text.empty() || (!version.empty() && text != version))
            return {};
        version = text;
    }
    return version;
}

// The install step killed at random moments: the application's path always holds a whole bundle, and
// once a step finishes it is the new one.
TEST(UpdateInstallKill, AKillDuringTheInstallLeavesAWholeApplication) {
    orrelith::testing::TemporaryFolder folder{"orrelith-install-kill"};
    auto bundle = folder / "Applications/Quorvane Options.app";
    makeBundle(folder, bundle, "1");
    std::mt19937 random(20240611);
    int finished = 0, installed = 0;
    for (int round = 2; round < 302; ++round) {
        auto staging = UpdateInstaller::stagingFolder(bundle, 4000 + round);
        auto staged = staging / "Quorvane Options.app";
        makeBundle(folder, staged, std::to_string(round));
        auto before = wholeVersion(bundle);
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ready[0]);
            char go = 1;
            (void)!write(ready[1], &go, 1);
            UpdateInstaller::install(staged, bundle, staging, SaverFiles::real().putInPlace);
            _exit(0);
        }
        close(ready[1]);
        // Every other round the kill may come before the step begins; otherwise from its start to well
        // past its end on a loaded machine.
        char go = 0;
        if (round % 2)
            (void)!read(ready[0], &go, 1);
        close(ready[0]);
        usleep(std::uniform_int_distribution<useconds_t>(0, 4000)(random));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        auto after = wholeVersion(bundle);
        ASSERT_TRUE(after == before || after == std::to_string(round)) << "round " << round << ": " << after;
        installed += after == std::to_string(round);
        if (WIFEXITED(status)) {
            ++finished;
            EXPECT_EQ(after, std::to_string(round));
        }
        std::filesystem::remove_all(staging);
    }
    // How the kills fell: before the exchange, after it, after the whole step.
    RecordProperty("installed", installed);
    RecordProperty("finished", finished);
}

} // namespace
} // namespace orrelith::platform
