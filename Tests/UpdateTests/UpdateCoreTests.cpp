#include "OrrelithCore/Appcast.hpp"
#include "OrrelithCore/UpdateVersion.hpp"
#include "OrrelithCore/UserUnits.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orrelith {
namespace {

struct Ordered {
    const char* left;
    const char* right;
    int expected; // -1 older, 0 same, 1 newer
};

TEST(UpdateVersion, OrdersVersionsAsFeedsExpect) {
    const Ordered table[] = {
        {"1.9", "1.10", -1},     {"1.0", "1.0.0", 0},     {"2.0b1", "2.0", -1},   {"2.0b1", "2.0b2", -1},
        {"2.0b2", "2.0rc1", -1}, {"2.0b1", "2.0.1", -1},  {"1.0", "1.0.1", -1},   {"10", "9", 1},
        {"1.01", "1.1", 0},      {"1.0a", "1.0", -1},     {"3", "2.99.99", 1},    {"", "0", 0},
        {"1.2.3", "1.2.3", 0},   {"99999999999999999999", "99999999999999999998", 1}, {"1.0-beta", "1.0", -1},
        {"1.0.0.0.1", "1.0", 1}, {"1.0 (42)", "1.0 (41)", 1},
    };
    for (const auto& row : table) {
        auto order = UpdateVersion::compare(row.left, row.right);
        int got = order < 0 ? -1 : order > 0 ? 1 : 0;
        EXPECT_EQ(got, row.expected) << row.left << " vs " << row.right;
        auto reverse = UpdateVersion::compare(row.right, row.left);
        EXPECT_EQ(reverse < 0 ? -1 : reverse > 0 ? 1 : 0, -row.expected) << row.right << " vs " << row.left;
    }
}

AppcastItem release(const std::string& version) {
    return {"Quorvane " + version, version, version, "https://example.org/q-" + version + ".tar.xz", 10, "c2ln", ""};
}

TEST(Appcast, OffersTheNewestCompleteReleaseUnlessSkippedOrNotNewer) {
    Appcast feed{{release("1.9"), release("1.10"), release("1.2")}};
    auto unsigned12 = release("1.12");
    unsigned12.edSignature.clear();
    feed.items.push_back(unsigned12);
    EXPECT_EQ(feed.update("1.9", std::nullopt)->version, "1.10");
    EXPECT_FALSE(feed.update("1.10", std::nullopt));
    EXPECT_FALSE(feed.update("1.10.0", std::nullopt));
    EXPECT_FALSE(feed.update("1.9", "1.10"));
    // A later release than the skipped one is offered again.
    feed.items.push_back(release("1.11"));
    EXPECT_EQ(feed.update("1.9", "1.10")->version, "1.11");
    EXPECT_FALSE(Appcast{}.update("1.0", std::nullopt));
}

TEST(UserUnits, ProgramPathWithSpacesQuotesAndSpecifiersIsQuotedForExecStartAndWhatAUnitCannotCarryIsRefused) {
    EXPECT_EQ(UserUnits::quoteArgument(R"(/opt/My "Q" 100%\$HOME)"), R"("/opt/My \"Q\" 100%%\\$$HOME")");
    LaunchAgentJob job{"org.kestrin.quorvane.update-check", {"/a b/Quorvane Options", "--check-updates"}, 11, 0,
                       {"/a b/Quorvane Options.app"}, "", ""};
    auto units = UserUnits::of(job);
    ASSERT_EQ(units.size(), 3u);
    EXPECT_NE(units.at("org.kestrin.quorvane.update-check.service")
                  .find("ExecStart=\"/a b/Quorvane Options\" \"--check-updates\"\n"),
              std::string::npos);
    const auto& timer = units.at("org.kestrin.quorvane.update-check.timer");
    EXPECT_NE(timer.find("OnCalendar=*-*-* 11:00:00\nPersistent=true\n"), std::string::npos);
    EXPECT_NE(units.at("org.kestrin.quorvane.update-check.path").find("PathChanged=/a b/Quorvane Options.app\n"),
              std::string::npos);

    LaunchAgentJob good{"label", {"/bin/true"}, std::nullopt, std::nullopt, {}, "", ""};
    EXPECT_EQ(UserUnits::of(good).size(), 1u);
    for (auto bad : {LaunchAgentJob{"", {"/bin/true"}, {}, {}, {}, "", ""}, LaunchAgentJob{"a/b", {"/bin/true"}, {}, {}, {}, "", ""},
                     LaunchAgentJob{"label", {}, {}, {}, {}, "", ""}, LaunchAgentJob{"label", {"true"}, {}, {}, {}, "", ""},
                     LaunchAgentJob{"label", {"/bin/true", "a\nExecStart=/bin/sh"}, {}, {}, {}, "", ""},
                     LaunchAgentJob{"label", {"/bin/true"}, {}, {}, {"relative"}, "", ""}})
        EXPECT_THROW(UserUnits::of(bad), std::invalid_argument) << bad.label;
}

} // namespace
} // namespace orrelith
