#include "OptionsApp/AppDelegate.hpp"
#include "OptionsApp/Install.hpp"
#include "OrrelithCore/Base64.hpp"
#include "OrrelithCore/SettingsFile.hpp"
#include "Platform/Fake/FakePlatform.hpp"
#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

namespace orrelith {
namespace {

class AppDelegateTests : public ::testing::Test {
protected:
    std::shared_ptr<AppDelegate> start(std::vector<std::string> arguments,
                                       std::filesystem::path bundle = "/opt/Quorvane Options.app") {
        fake.system->argumentsValue = std::move(arguments);
        fake.system->homeFolderValue = home.path();
        fake.system->mainBundleValue = platform::Bundle{bundle, {}, {}, {}};
        Install::declinedMove = false;
        auto delegate = AppDelegate::create([this](std::optional<Settings> settings, std::function<void()>) {
            alertsBeforeWindow = fake.alert->shown.size();
            initial = std::move(settings);
            return std::make_shared<int>(0);
        });
        delegate->applicationDidFinishLaunching();
        return delegate;
    }

    platform::FakePlatform fake;
    testing::TemporaryFolder home;
    std::optional<std::size_t> alertsBeforeWindow;
    std::optional<Settings> initial;
};

TEST_F(AppDelegateTests, FromADownloadTheMoveIsOfferedFirstAndTheNoticeComesAfterTheWindow) {
    fake.alert->answers = {"Not Now"};
    auto delegate = start({"app"}, "/run/media/user/stick/Quorvane Options.app");
    EXPECT_EQ(alertsBeforeWindow, 1u);
    EXPECT_EQ(fake.alert->shown.size(), 1u);
    EXPECT_TRUE(Install::declinedMove);
    fake.runUntilIdle();
    ASSERT_EQ(fake.alert->shown.size(), 2u);
    // The fake application carries no screen saver, so the notice is the failure's.
    EXPECT_EQ(fake.alert->shown[1].messageText, "Quorvane couldn't install the screen saver");
    EXPECT_TRUE(delegate->applicationShouldTerminateAfterLastWindowClosed());
}

TEST_F(AppDelegateTests, ACheckOnlyRunFromADiskImageShowsNothingAndOffersNoMove) {
    auto delegate = start({"app", "--check-updates"}, "/Volumes/Quorvane/Quorvane Options.app");
    fake.runUntilIdle();
    EXPECT_FALSE(alertsBeforeWindow);
    EXPECT_TRUE(fake.alert->shown.empty());
    EXPECT_FALSE(delegate->applicationShouldTerminateAfterLastWindowClosed());
}

TEST_F(AppDelegateTests, ImportedSettingsCountOnlyAsStrictBase64OfSettingsAndWithoutAStoredDocument) {
    Settings handed;
    auto text = Base64::encode(handed.encode());
    struct Case {
        std::vector<std::string> arguments;
        bool imported;
    };
    for (const auto& c : {Case{{"app", "--import", text}, true}, Case{{"app", text, "--import"}, false},
                          Case{{"app", "--import", "not base64!"}, false},
                          Case{{"app", "--import", text.substr(0, 4) + "\n" + text.substr(4)}, false},
                          Case{{"app", "--import", Base64::encode("{\"not\": \"settings\"")}, false}}) {
        start(c.arguments);
        EXPECT_EQ(initial.has_value(), c.imported) << c.arguments.back();
    }
    SettingsFile::inSupport(home.path(), "ORVEX").save(handed);
    start({"app", "--import", text});
    EXPECT_FALSE(initial);
}

} // namespace
} // namespace orrelith
