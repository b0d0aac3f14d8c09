#include "Platform/Linux/App/GlibProgramRunner.hpp"
#include "Platform/Linux/App/LinuxScreenSaverHost.hpp"
#include "Platform/Linux/App/PkexecAdministratorScript.hpp"
#include "Platform/Linux/App/XattrDownloadOrigin.hpp"
#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <thread>

#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace orrelith {
namespace {

using platform::LinuxScreenSaverHost;
namespace fs = std::filesystem;

fs::path script(const testing::TemporaryFolder& folder, const std::string& name, const std::string& body) {
    auto file = folder.write(name, "#!/bin/sh\n" + body);
    fs::permissions(file, fs::perms::owner_all);
    return file;
}

TEST(ProgramRunnerTests, AToolsOutputComesBackWhileAMegabyteOnStandardErrorIsDiscarded) {
    platform::GlibProgramRunner runner;
    // Written to a pipe nobody reads, this much standard error would block the tool for ever.
    EXPECT_EQ(runner.run("/bin/sh", {"-c", "head -c 1048576 /dev/zero >&2; printf 'out\\377put'"}),
              "out\xEF\xBF\xBDput");
    EXPECT_EQ(runner.run("/nonexistent/tool", {}), "");
}

TEST(DownloadOriginTests, TheMarksGoFromTheFolderAndEverythingBelowAndOtherAttributesStay) {
    testing::TemporaryFolder folder;
    auto top = folder / "App.app";
    std::vector<fs::path> items{top, folder.write("App.app/a", "a"), folder.write("App.app/sub/b", "b"), top / "sub"};
    for (const auto& item : items)
        for (const char* name : {"user.xdg.origin.url", "user.xdg.referrer.url", "user.kept"})
            if (::setxattr(item.c_str(), name, "x", 1, 0) != 0)
                GTEST_SKIP() << "this file system keeps no user attributes";
    platform::XattrDownloadOrigin().remove(top);
    char value[8];
    for (const auto& item : items) {
        EXPECT_LT(::getxattr(item.c_str(), "user.xdg.origin.url", value, sizeof value), 0) << item;
        EXPECT_LT(::getxattr(item.c_str(), "user.xdg.referrer.url", value, sizeof value), 0) << item;
        EXPECT_EQ(::getxattr(item.c_str(), "user.kept", value, sizeof value), 1) << item;
    }
}

class ScreenSaverHostTests : public ::testing::Test {
protected:
    // A name of this test's own, so that no real host on the machine is signalled.
    std::string name = "qvh-" + std::to_string(std::random_device()() % 1000000);
    testing::TemporaryFolder folder;
    fs::path program = script(folder, name,
                              "trap 'echo dropped >> \"$0.$1\"; exit 0' HUP\n"
                              "while :; do sleep 0.05; done\n");

    pid_t start(const std::string& argument) {
        pid_t pid = fork();
        if (pid == 0) {
            execl(program.c_str(), program.c_str(), argument.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        // The process carries its name only once it has executed.
        while (testing::TemporaryFolder::read("/proc/" + std::to_string(pid) + "/comm") != name + "\n")
            std::this_thread::yield();
        return pid;
    }
    static void end(pid_t pid) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
};

TEST_F(ScreenSaverHostTests, OnlyPanesAndPreviewsDropTheirCopyOnlyARunCountsAsShowingAndThePaneIsTheProgramBesideTheApplication) {
    LinuxScreenSaverHost host({}, name);
    auto daemon = start("--daemon"), settings = start("--settings"), preview = start("--preview");
    EXPECT_FALSE(host.runInProgress());
    auto run = start("--duration");
    EXPECT_TRUE(host.runInProgress());
    host.dropLoadedCopies();
    for (pid_t holder : {settings, preview})
        ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(testing::TemporaryFolder::read(program.string() + ".--settings"), "dropped\n");
    EXPECT_EQ(testing::TemporaryFolder::read(program.string() + ".--preview"), "dropped\n");
    EXPECT_FALSE(fs::exists(program.string() + ".--daemon"));
    EXPECT_FALSE(fs::exists(program.string() + ".--duration"));
    end(run);
    end(daemon);
    EXPECT_FALSE(host.runInProgress());

    // The settings pane is the host's program beside the application, started with --settings.
    LinuxScreenSaverHost beside({folder.path()}, name);
    ASSERT_TRUE(beside.openSettings());
    std::vector<LinuxScreenSaverHost::HostProcess> found;
    while (found.empty())
        found = beside.hostProcesses();
    EXPECT_EQ(found.front().role, LinuxScreenSaverHost::Role::holder);
    ::kill(found.front().pid, SIGKILL);
    EXPECT_FALSE(LinuxScreenSaverHost({folder / "nowhere"}, name).openSettings());
}

TEST(AdministratorScriptTests, OnlyTheShellScriptFormRunsWithItsEscapesUndoneAndADismissedPromptOrFailedCommandIsAnError) {
    using platform::PkexecAdministratorScript;
    struct Case {
        const char* source;
        std::optional<std::string> command;
    };
    for (const auto& c : {
             Case{R"(do shell script "rm -rf 'a\\b' \"q\"" with administrator privileges)", R"(rm -rf 'a\b' "q")"},
             Case{R"(do shell script "" with administrator privileges)", ""},
             Case{R"(do shell script "a\nb" with administrator privileges)", "a\nb"},
             Case{R"(do shell script "a"b" with administrator privileges)", std::nullopt},
             Case{R"(do shell script "a\qb" with administrator privileges)", std::nullopt},
             Case{R"(do shell script "a\" with administrator privileges)", std::nullopt},
             Case{R"(do shell script "ls")", std::nullopt},
             Case{R"(do shell script "ls" with administrator privileges )", std::nullopt},
             Case{R"(display dialog "hi")", std::nullopt},
         }) {
        EXPECT_EQ(PkexecAdministratorScript::command(c.source), c.command) << c.source;
    }

    testing::TemporaryFolder bin;
    script(bin, "pkexec", "echo run >> \"$(dirname \"$0\")/runs\"\nexec \"$@\"\n");
    platform::PkexecAdministratorScript administrator(bin.path().string());
    EXPECT_EQ(administrator.execute(R"(do shell script "exit 0" with administrator privileges)"), std::nullopt);
    EXPECT_TRUE(administrator.execute(R"(do shell script "exit 126" with administrator privileges)"));
    EXPECT_TRUE(administrator.execute(R"(do shell script "exit 3" with administrator privileges)"));
    EXPECT_TRUE(administrator.execute(R"(tell application "Finder" to quit)"));
    EXPECT_EQ(testing::TemporaryFolder::read(bin / "runs"), "run\nrun\nrun\n");
    EXPECT_TRUE(platform::PkexecAdministratorScript("/nonexistent").execute(
        R"(do shell script "exit 0" with administrator privileges)"));
}

} // namespace
} // namespace orrelith
