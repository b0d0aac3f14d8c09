#include "OrrelithCore/UserUnits.hpp"
#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

namespace orrelith {
namespace {

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// systemd's own parser accepts the units for programs in awkward folders.
TEST(UserUnitsVerify, SystemdAcceptsTheUnitsForAnyProgramPath) {
    if (std::system("command -v systemd-analyze >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "systemd-analyze is not installed";
    orrelith::testing::TemporaryFolder folder{"orrelith-units"};
    for (std::string name : {"plain", "with space", "100% \"quoted\"", "it's a\\back$slash"}) {
        auto bundle = folder / name / "Quorvane Options.app";
        auto program = folder.write(bundle / "Contents/Linux/Quorvane Options", "#!/bin/sh\n");
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
        LaunchAgentJob job{"org.kestrin.quorvane.update-check", {program.string(), "--check-updates"}, 11, 0,
                           {bundle.string()}, "Aqua", "Interactive"};
        std::string files;
        auto units = folder / ("units-" + std::to_string(name.size()));
        for (const auto& [file, text] : UserUnits::of(job, (bundle / "agent.plist").string()))
            files += " " + shellQuoted(folder.write(units / file, text).string());
        int status = std::system(("timeout 60 systemd-analyze verify --man=no" + files + " 2>&1").c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << name;
    }
}

} // namespace
} // namespace orrelith
