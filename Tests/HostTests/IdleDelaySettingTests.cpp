#include "Host/IdleDelaySetting.hpp"
#include "Platform/Fake/FakePlatform.hpp"
#include "TestBundle.hpp"

#include <gtest/gtest.h>

using namespace orrelith::host;
using namespace orrelith::platform;

namespace {

class IdleDelaySettingTest : public ::testing::Test {
protected:
    std::optional<std::string> stored() { return fake.preferences->standard->dataForKey(IdleDelaySetting::key); }
    std::size_t index(const std::string& title) {
        const auto& choices = IdleDelaySetting::choices();
        auto found = std::find_if(choices.begin(), choices.end(), [&](const auto& c) { return c.title == title; });
        return static_cast<std::size_t>(found - choices.begin());
    }

    FakePlatform fake;
    TemporaryFolder folder;
    std::filesystem::path entry = folder / "autostart/quorvane-host.desktop";
    IdleDelaySetting setting{entry, "/usr/bin/quorvane-host"};
};

TEST_F(IdleDelaySettingTest, ADelayIsStoredInstallsTheEntryAndStartsTheDaemonOnceAndNeverUndoesBothAndShowsAsTheNearestChoice) {
    EXPECT_EQ(setting.current(), index("Never")) << "no entry yet";
    EXPECT_EQ(setting.choose(index("5 minutes")), std::nullopt);
    EXPECT_EQ(stored(), "300");
    EXPECT_NE(TemporaryFolder::read(entry).find("Exec=\"/usr/bin/quorvane-host\" --daemon"), std::string::npos);
    EXPECT_EQ(fake.screenSaverHost->record.daemonStarts, 1u);
    EXPECT_EQ(setting.choose(index("1 hour")), std::nullopt);
    EXPECT_EQ(stored(), "3600");
    EXPECT_EQ(fake.screenSaverHost->record.daemonStarts, 1u) << "the running daemon follows the stored delay";
    EXPECT_EQ(setting.current(), index("1 hour"));

    EXPECT_EQ(setting.choose(index("Never")), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_EQ(fake.screenSaverHost->record.daemonStops, 1u);
    EXPECT_EQ(setting.current(), index("Never"));

    fake.screenSaverHost->daemonStarts = false;
    EXPECT_TRUE(setting.choose(index("1 minute")).has_value()) << "a daemon that cannot start is told";
    EXPECT_TRUE(std::filesystem::exists(entry)) << "it will start at the next login";

    // With the entry, the stored delay shows as the nearest choice.
    const std::vector<std::pair<std::string, std::string>> table{
        {"", "5 minutes"}, {"abc", "5 minutes"}, {"-60", "5 minutes"}, {"120", "2 minutes"}, {"1000", "20 minutes"},
        {"90000", "1 hour"},
    };
    for (const auto& [value, shown] : table) {
        SCOPED_TRACE(value);
        fake.preferences->standard->setData(IdleDelaySetting::key, value);
        EXPECT_EQ(setting.current(), index(shown));
    }
}

} // namespace
