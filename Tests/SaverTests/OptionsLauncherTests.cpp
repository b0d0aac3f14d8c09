#include <gtest/gtest.h>

#include "OrrelithCore/Base64.hpp"
#include "TemporaryFolder.hpp"
#include "OrrelithCore/SettingsFile.hpp"
#include "Platform/Fake/FakePlatform.hpp"
#include "Platform/Fake/Views/FakeButtonBackend.hpp"
#include "Platform/Fake/Views/FakeWindowBackend.hpp"
#include "Saver/LaunchSheet.hpp"
#include "Saver/OptionsLauncher.hpp"

#include <fstream>

using namespace orrelith;
using namespace orrelith::platform;

namespace {

class OptionsLauncherTest : public ::testing::Test {
protected:
    OptionsLauncherTest() {
        fake.system->homeFolderValue = root_.path();
        fake.workspace->applications[OptionsLauncher::bundleIdentifier] = "/opt/apps/Quorvane Options.app";
    }
    static LaunchSheet& sheetOf(const Window& window) { return dynamic_cast<LaunchSheet&>(*window.contentView()); }
    static Settings legacy() {
        Settings settings;
        settings.shuffleInterval = 120;
        settings.crossfade = false;
        settings.displays["frame-0x0"] = DisplayMode::fixed("alpha");
        return settings;
    }

    orrelith::testing::TemporaryFolder root_{"launcher"};
    FakePlatform fake;
};

TEST_F(OptionsLauncherTest, AReadableSettingsDocumentMeansNoArgumentsToTheApplicationFoundByIdentifierOrInApplications) {
    SettingsFile::inSupport(root_.path(), "ORVEX").save(legacy());
    fake.preferences->module(OptionsLauncher::moduleName)->setData("settings.v1", legacy().encode());
    auto window = OptionsLauncher::open();
    ASSERT_EQ(fake.workspace->record().opens.size(), 1u);
    const auto& open = fake.workspace->record().opens[0];
    EXPECT_TRUE(open.configuration.arguments.empty());
    EXPECT_TRUE(open.configuration.activates);
    EXPECT_EQ(open.application, "/opt/apps/Quorvane Options.app");

    fake.workspace->applications.clear();
    OptionsLauncher::open();
    EXPECT_EQ(fake.workspace->record().opens.at(1).application, "/Applications/Quorvane Options.app")
        << "an application not found by its identifier is looked for in Applications";
}

struct HandOverCase {
    const char* name;
    const char* document;
    bool moduleDefaults;
    bool legacyStored = true; // else the defaults are handed over
};

class HandOver : public OptionsLauncherTest, public ::testing::WithParamInterface<HandOverCase> {};

TEST_P(HandOver, PassesTheLegacyRecordOrTheDefaultsAsBase64JSONWhenTheDocumentIsUnreadable) {
    if (GetParam().document) {
        auto path = SettingsFile::inSupport(root_.path(), "ORVEX").url;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << GetParam().document;
    }
    fake.preferences->screenSaverDefaultsAvailable = GetParam().moduleDefaults;
    auto domain = GetParam().moduleDefaults ? std::static_pointer_cast<FakeUserDefaults>(
                                                  fake.preferences->module(OptionsLauncher::moduleName))
                                            : fake.preferences->standard;
    if (GetParam().legacyStored)
        domain->setData("settings.v1", legacy().encode());
    OptionsLauncher::open();
    const auto& arguments = fake.workspace->record().opens.at(0).configuration.arguments;
    ASSERT_EQ(arguments.size(), 2u);
    EXPECT_EQ(arguments[0], "--import");
    EXPECT_EQ(arguments[1].find('\n'), std::string::npos);
    auto json = Base64::decode(arguments[1]);
    ASSERT_TRUE(json);
    EXPECT_EQ(Settings::decode(*json), GetParam().legacyStored ? legacy() : Settings());
}

INSTANTIATE_TEST_SUITE_P(Cases, HandOver,
                         ::testing::Values(HandOverCase{"noDocument", nullptr, true},
                                           HandOverCase{"documentNotAnObject", "[]", true},
                                           HandOverCase{"documentNotJSON", "{\"shuffleInterval\":", true},
                                           HandOverCase{"standardDefaultsStandIn", nullptr, false},
                                           HandOverCase{"nothingStoredAnywhere", nullptr, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OptionsLauncherTest, ASheetAttachedBeforeTheLaunchCompletesEndsAtOnceAndOneAttachedWhilePollingAtTheNextPoll) {
    auto host = Window::create(Rect::make(0, 0, 800, 600), WindowStyle::Titled);
    auto sheet = OptionsLauncher::open();
    host->beginSheet(sheet);
    fake.runUntilIdle();
    EXPECT_FALSE(sheet->sheetParent());
    EXPECT_FALSE(host->attachedSheet());
    EXPECT_EQ(FakeWindowBackend::of(*host).state.sheetsEnded.size(), 1u);

    auto polled = OptionsLauncher::open();
    fake.runUntilIdle();
    fake.advanceBy(0.55);
    host->beginSheet(polled);
    fake.advanceBy(0.049);
    EXPECT_TRUE(polled->sheetParent());
    fake.advanceBy(0.001);
    EXPECT_FALSE(polled->sheetParent()) << "a sheet attached while polling ends at the next poll";
    EXPECT_FALSE(polled->isClosed()) << "ending the sheet is enough";
}

TEST_F(OptionsLauncherTest, ASheetNeverAttachedIsClosedAfterTwentyTries) {
    auto sheet = OptionsLauncher::open();
    fake.runUntilIdle();
    fake.advanceBy(1.999);
    EXPECT_FALSE(sheet->isClosed());
    fake.advanceBy(0.001);
    EXPECT_TRUE(sheet->isClosed());
    EXPECT_EQ(std::count(fake.queue->record().asyncAfterDelays.begin(), fake.queue->record().asyncAfterDelays.end(),
                         0.1),
              20);
}

TEST_F(OptionsLauncherTest, AFailedLaunchShowsWhereToLookAndOKEndsTheSheetOrClosesAWindowThatIsNone) {
    fake.workspace->openError = "no such application";
    auto host = Window::create(Rect::make(0, 0, 800, 600), WindowStyle::Titled);
    auto sheet = OptionsLauncher::open();
    host->beginSheet(sheet);
    fake.runUntilIdle();
    fake.advanceBy(10);
    auto& content = sheetOf(*sheet);
    EXPECT_EQ(content.headline()->text(), "Couldn't open Quorvane Options");
    EXPECT_EQ(content.detail()->text(), "Open it from your Applications folder.");
    EXPECT_EQ(sheet->sheetParent(), host);
    FakeButtonBackend::of(*content.okButton()).click();
    EXPECT_FALSE(sheet->sheetParent());
    EXPECT_FALSE(sheet->isClosed());

    auto unattached = OptionsLauncher::open();
    fake.runUntilIdle();
    FakeButtonBackend::of(*sheetOf(*unattached).okButton()).click();
    EXPECT_TRUE(unattached->isClosed()) << "OK closes a window that is no sheet";
}

} // namespace
