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
        fake.system->mainBundleValue = platform::Bundle{bundle, bundle / "Contents/Resources",
                                                        {{"CFBundleIdentifier", "org.kestrin.orvex.options"}},
                                                        bundle / "Contents/Linux/Quorvane Options"};
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

TEST_F(AppDelegateTests, ACheckOnlyRunFromADiskImageShowsNothingOffersNoMoveAndListsNoApplication) {
    auto delegate = start({"app", "--check-updates"}, "/Volumes/Quorvane/Quorvane Options.app");
    fake.runUntilIdle();
    EXPECT_FALSE(alertsBeforeWindow);
    EXPECT_TRUE(fake.alert->shown.empty());
    EXPECT_FALSE(delegate->applicationShouldTerminateAfterLastWindowClosed());
    EXPECT_FALSE(std::filesystem::exists(home.path() / ".local"));
}

TEST_F(AppDelegateTests, AnInteractiveStartListsTheRunningCopyAmongTheDesktopsApplicationsOnce) {
    start({"app"}, "/opt/It's \"here\" $HOME 100%/Quorvane Options.app");
    auto entry = home.path() / ".local/share/applications/org.kestrin.orvex.options.desktop";
    auto text = testing::TemporaryFolder::read(entry);
    EXPECT_NE(text.find("Exec=\"/opt/It's \\\\\"here\\\\\" \\\\$HOME 100%%/Quorvane Options.app/Contents/Linux/"
                        "Quorvane Options\"\n"),
              std::string::npos)
        << text;
    auto written = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    std::filesystem::last_write_time(entry, written);
    start({"app"}, "/opt/It's \"here\" $HOME 100%/Quorvane Options.app");
    EXPECT_EQ(std::filesystem::last_write_time(entry), written);
}

TEST(AppDelegate, TheProgramEntryRunsInThePolicyOfItsModeWithTheMenuBar) {
    testing::TemporaryFolder home;
    for (auto [arguments, policy] :
         {std::pair{std::vector<std::string>{"app"}, platform::ActivationPolicy::regular},
          std::pair{std::vector<std::string>{"app", "--check-updates"}, platform::ActivationPolicy::accessory}}) {
        platform::FakePlatform platform;
        platform.system->argumentsValue = arguments;
        platform.system->homeFolderValue = home.path();
        AppDelegate::runApplication([](auto, auto) { return std::make_shared<int>(0); });
        EXPECT_EQ(platform.application->runs, std::vector{policy});
        ASSERT_EQ(platform.application->mainMenu.size(), 2u);
        EXPECT_EQ(platform.application->mainMenu[1].title, "Window");
        ASSERT_TRUE(platform.application->item("Check for Updates\u2026"));
        EXPECT_EQ(platform.application->item("Quit Quorvane Options")->keyEquivalent, "q");
        EXPECT_EQ(platform.application->item("Close")->keyEquivalent, "w");
        platform.application->item("Close")->action();
        EXPECT_EQ(platform.application->closeRequests, 1u);
        platform.application->item("Quit Quorvane Options")->action();
        EXPECT_EQ(platform.application->terminations, 1u);
    }
}

TEST(AppDelegate, DownloadsAreDiskImagesRemovableMediaAndTheDownloadFolder) {
    std::optional<std::filesystem::path> downloads = "/home/u/Downloads";
    struct Case {
        const char* bundle;
        bool fromDownload;
    };
    for (auto c : {Case{"/Volumes/Q/Quorvane Options.app", true}, Case{"/media/u/stick/Q.app", true},
                   Case{"/run/media/u/stick/Q.app", true}, Case{"/home/u/Downloads/Q.app", true},
                   Case{"/home/u/Downloads/../Applications/Q.app", false}, Case{"/home/u/Downloads2/Q.app", false},
                   Case{"/home/u/Applications/Q.app", false}})
        EXPECT_EQ(AppDelegate::fromDownload(c.bundle, downloads), c.fromDownload) << c.bundle;
    EXPECT_FALSE(AppDelegate::fromDownload("/home/u/Downloads/Q.app", std::nullopt));
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
