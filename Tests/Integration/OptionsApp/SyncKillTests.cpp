#include "SaverBundles.hpp"
#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orrelith {
namespace {

using testing::SaverBundles;

// Starts the driver and waits until it is about to sync; its process id.
pid_t startSync(const std::filesystem::path& root, const std::string& application) {
    int output[2];
    if (::pipe(output) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    std::string words[] = {ORRELITH_SYNC_DRIVER, root.string(), application};
    char* argv[] = {words[0].data(), words[1].data(), words[2].data(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    char ready[6] = {};
    for (std::size_t got = 0; pid > 0 && got < sizeof ready;) {
        auto n = ::read(output[0], ready + got, sizeof ready - got);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(output[0]);
    return pid;
}

TEST(SyncKillTests, AKillAtAnyMomentOfASyncLeavesAWholeCopyInPlace) {
    testing::TemporaryFolder root{"orrelith-sync-kill"};
    SaverBundles::write(SaverBundles::inner(root / "A.app"), "1.0", "1", "a");
    SaverBundles::write(SaverBundles::inner(root / "B.app"), "2.0", "2", "b");
    auto installed = root / "home/Library/Screen Savers/Quorvane.saver";
    SaverBundles::write(installed, "1.0", "1", "a");
    std::random_device seeds;
    auto seed = seeds();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay(0, 2500);
    int changes = 0, interrupted = 0;
    for (int round = 0; round < 300; ++round) {
        auto before = SaverBundles::wholeCopy(installed);
        ASSERT_TRUE(before == "a" || before == "b") << "round " << round << ": " << before;
        pid_t pid = startSync(root.path(), before == "a" ? "B.app" : "A.app");
        ASSERT_GT(pid, 0);
        // The randomness is the point here: the kill must land at every stage of the sync.
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        interrupted += WIFSIGNALED(status) ? 1 : 0;
        changes += SaverBundles::wholeCopy(installed) != before ? 1 : 0;
    }
    auto after = SaverBundles::wholeCopy(installed);
    EXPECT_TRUE(after == "a" || after == "b") << after;
    // Both outcomes must have happened, or the kills did not land inside syncs.
    EXPECT_GT(changes, 0);
    EXPECT_GT(interrupted, 0);
}

} // namespace
} // namespace orrelith
