#include "OptionsApp/DailyCheck.hpp"
#include "Platform/Fake/App/FakeLaunchAgents.hpp"

#include <gtest/gtest.h>

namespace orrelith {
namespace {

const DailyCheck::Place place{"/home/u", "/Apps/Quorvane Options.app/Contents/Linux/Quorvane Options",
                              "/Apps/Quorvane Options.app", 1000};
const std::string plist = "/home/u/Library/LaunchAgents/org.kestrin.quorvane.update-check.plist";
const std::string service = "gui/1000/org.kestrin.quorvane.update-check";
const std::string old = "gui/1000/org.kestrin.orvex.update-check";

class DailyCheckTest : public ::testing::Test {
protected:
    platform::FakeLaunchAgents agents;
    void installCurrent() {
        agents.files[plist] = DailyCheck::job(place);
        agents.loaded[service] = "state = waiting\npath = " + plist + "\nprogram = " + place.executable.string() + "\n";
    }
    void ensure() { DailyCheck::ensure(agents, place, {"org.kestrin.orvex.update-check"}); }
};

TEST_F(DailyCheckTest, AnUnchangedAgentIsOnlyBootstrappedWhenNotLoadedAMovedOneIsRewrittenAndAnOlderOneBootedOut) {
    installCurrent();
    ensure();
    EXPECT_EQ(agents.calls, (std::vector<std::string>{"print " + old, "print " + service}));
    agents.loaded.clear();
    agents.calls.clear();
    ensure();
    EXPECT_EQ(agents.calls, (std::vector<std::string>{"print " + old, "print " + service, "bootstrap gui/1000 " + plist}));

    // An older agent is booted out at every launch.
    installCurrent();
    for (int launch = 0; launch < 2; ++launch) {
        agents.loaded[old] = "path = /home/u/Library/LaunchAgents/org.kestrin.orvex.update-check.plist\n";
        agents.calls.clear();
        ensure();
        EXPECT_EQ(agents.calls, (std::vector<std::string>{"print " + old, "bootout " + old, "print " + service}));
    }

    // A moved application is rewritten, booted out and bootstrapped.
    installCurrent();
    agents.calls.clear();
    auto moved = place;
    moved.executable = "/home/u/Applications/Quorvane Options.app/Contents/Linux/Quorvane Options";
    moved.bundle = "/home/u/Applications/Quorvane Options.app";
    DailyCheck::ensure(agents, moved, {});
    EXPECT_EQ(agents.calls, (std::vector<std::string>{"write " + plist, "print " + service, "bootout " + service,
                                                      "bootstrap gui/1000 " + plist}));
    EXPECT_EQ(agents.files[plist], DailyCheck::job(moved));
    EXPECT_NE(agents.loaded[service].find("program = " + moved.executable.string() + "\n"), std::string::npos);
}

} // namespace
} // namespace orrelith
