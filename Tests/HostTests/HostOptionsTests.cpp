#include "Host/HostError.hpp"
#include "Host/HostOptions.hpp"
#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <functional>

using namespace orrelith::host;

namespace {

using Arguments = std::vector<std::string>;

HostOptions with(std::function<void(HostOptions&)> change) {
    HostOptions options;
    change(options);
    return options;
}

TEST(HostOptions, CommandLinesTheHostUnderstandsAndUsageErrorsThatSayWhatIsWrong) {
    struct Case {
        Arguments arguments;
        HostOptions expected;
    };
    const std::vector<Case> cases{
        {{}, HostOptions{}},
        {{"--preview"}, with([](HostOptions& o) { o.mode = HostMode::Preview; })},
        {{"--settings"}, with([](HostOptions& o) { o.mode = HostMode::Settings; })},
        {{"--bundle", "/tmp/A.saver", "--duration", "2.5"}, with([](HostOptions& o) {
             o.bundle = "/tmp/A.saver";
             o.duration = 2.5;
         })},
        {{"--bundle=rel/B.saver", "--duration=20"}, with([](HostOptions& o) {
             o.bundle = "rel/B.saver";
             o.duration = 20;
         })},
        {{"--screenshot", "shot.png"}, with([](HostOptions& o) { o.screenshot = "shot.png"; })},
        {{"--screenshot", "shot.png", "--screenshot-after", "0"}, with([](HostOptions& o) {
             o.screenshot = "shot.png";
             o.screenshotDelay = 0;
         })},
        {{"--saver", "Other", "--preview"}, with([](HostOptions& o) {
             o.saverName = "Other";
             o.mode = HostMode::Preview;
         })},
        {{"-h"}, with([](HostOptions& o) { o.help = true; })},
        {{"--daemon", "--idle-after", "2"}, with([](HostOptions& o) {
             o.daemon = true;
             o.idleAfter = 2;
         })},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(::testing::PrintToString(test.arguments));
        EXPECT_EQ(HostOptions::parse(test.arguments), test.expected);
    }

    // Everything else is a usage error that says what is wrong.
    struct Refusal {
        Arguments arguments;
        std::string says;
    };
    const std::vector<Refusal> refusals{
        {{"--preview", "--settings"}, "cannot be combined"},
        {{"--duration"}, "--duration wants a value"},
        {{"--duration", "0"}, "more than 0 seconds"},
        {{"--duration", "soon"}, "wants a number of seconds, not \"soon\""},
        {{"--duration", "5s"}, "wants a number of seconds"},
        {{"--duration", "nan"}, "wants a number of seconds"},
        {{"--screenshot-after", "3"}, "--screenshot-after needs --screenshot"},
        {{"--screenshot", ""}, "--screenshot wants the path"},
        {{"--bundle", "A.saver", "--saver", "B"}, "either --bundle or --saver"},
        {{"--saver", "../../etc/evil"}, "plain name"},
        {{"--frobnicate"}, "unknown argument --frobnicate"},
        {{"--preview=yes"}, "unknown option --preview"},
        {{"--idle-after", "2"}, "--idle-after needs --daemon"},
        {{"--daemon", "--idle-after", "0"}, "more than 0 seconds"},
        {{"--daemon", "--duration", "5"}, "cannot be combined"},
    };
    for (const auto& test : refusals) {
        SCOPED_TRACE(::testing::PrintToString(test.arguments));
        try {
            HostOptions::parse(test.arguments);
            ADD_FAILURE() << "accepted";
        } catch (const HostError& error) {
            EXPECT_EQ(error.exitStatus(), 2);
            EXPECT_NE(std::string(error.what()).find(test.says), std::string::npos) << error.what();
        }
    }
}

TEST(HostOptions, TheBundleIsTheGivenPathElseTheUsersCopyElseTheSystemWideOne) {
    orrelith::testing::TemporaryFolder folder;
    auto home = folder / "home", system = folder / "system";
    std::filesystem::create_directories(system / "Drift.saver");
    EXPECT_EQ(HostOptions{}.bundlePath(home, system), home / "Library/Screen Savers/Quorvane.saver");
    EXPECT_EQ(HostOptions::parse({"--saver", "Drift"}).bundlePath(home, system), system / "Drift.saver");
    std::filesystem::create_directories(home / "Library/Screen Savers/Drift.saver");
    EXPECT_EQ(HostOptions::parse({"--saver", "Drift"}).bundlePath(home, system),
              home / "Library/Screen Savers/Drift.saver");
    EXPECT_EQ(HostOptions::parse({"--bundle", "x/Q.saver"}).bundlePath(home, system), "x/Q.saver");
}

} // namespace
