#include "Platform/Linux/App/GlibProgramRunner.hpp"
#include "Platform/Linux/App/SystemdLaunchAgents.hpp"
#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

namespace orrelith::platform {
namespace {

// This machine's user manager is not asked: the runtime folder is one without its socket, as on a
// system where no user manager runs.
TEST(SystemdLaunchAgents, WithoutAUserManagerTheAgentFileIsKeptAndNothingIsRegisteredButALogLine) {
    orrelith::testing::TemporaryFolder folder{"orrelith-agents"};
    std::vector<std::string> log;
    auto programs = std::make_shared<GlibProgramRunner>();
    SystemdLaunchAgents agents(folder / "home", folder / "run", programs,
                               [&](const std::string& line) { log.push_back(line); });
    LaunchAgentJob job{"org.kestrin.quorvane.update-check",
                       {"/opt/it's \"here\"/Quorvane Options", "--check-updates"}, 11, 0,
                       {"/opt/it's \"here\""}, "Aqua", "Interactive"};
    auto file = folder / "home/Library/LaunchAgents/org.kestrin.quorvane.update-check.plist";
    ASSERT_TRUE(agents.write(file, job));
    EXPECT_EQ(agents.read(file), job);
    EXPECT_EQ(agents.read(folder / "missing.plist"), LaunchAgentJob{});

    agents.bootstrap("gui/1000", file);
    EXPECT_EQ(agents.print("gui/1000/" + job.label), "");
    agents.bootout("gui/1000/" + job.label);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("no systemd user manager"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(agents.unitFolder()));
}

} // namespace
} // namespace orrelith::platform
