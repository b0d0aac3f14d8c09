#include "LoopbackServer.hpp"
#include "OptionsApp/SaverFiles.hpp"
#include "OptionsApp/Updates.hpp"
#include "Platform/Fake/FakePlatform.hpp"
#include "Platform/Fake/Update/FakeUpdateUserInterface.hpp"
#include "Platform/Linux/System/GlibMainQueue.hpp"
#include "Platform/Linux/System/LinuxSystem.hpp"
#include "Platform/Linux/System/PlistUserDefaults.hpp"
#include "Platform/Linux/Update/AppcastUpdateService.hpp"
#include "Platform/Linux/Update/ArchiveUnpacker.hpp"
#include "ReleaseArchive.hpp"
#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <random>

namespace orrelith::platform {
namespace {

using testing::ReleaseArchive;
using testing::feedOf;
using testing::listing;
using testing::runUntil;
const std::string app = "Quorvane Options.app", identifier = "org.kestrin.orvex.options";

// An installed 1.9 bundle whose Info.plist names the loopback feed and the test's key, and the real
// updater service reading it, with the application's Updates on top.
class AppcastUpdaterTest : public ::testing::Test {
protected:
    AppcastUpdaterTest() {
        auto entries = ReleaseArchive::bundle(app, identifier, "1.9", "1.9",
                                              "<key>SUFeedURL</key><string>" + server.base() + "appcast.xml</string>"
                                              "<key>SUPublicEDKey</key><string>" + keys.publicKey() + "</string>"
                                              "<key>SUEnableAutomaticChecks</key><false/>");
        ArchiveUnpacker::unpack(ReleaseArchive::make(entries), applications);
        auto configuration = UpdaterConfiguration::of(LinuxSystem().bundleAt(bundle).value());
        configuration.defaults = defaults;
        configuration.putInPlace = SaverFiles::real().putInPlace;
        configuration.now = [] { return 1.0e9; };
        configuration.userInterface = ui;
        service = std::make_shared<AppcastUpdateService>(configuration);
        auto services = installed();
        services.mainQueue = std::make_shared<GlibMainQueue>();
        services.updates = service;
        install(services);
    }

    std::string installedVersion() { return LinuxSystem().bundleAt(bundle).value().info("CFBundleVersion").value_or(""); }
    void serveRelease(const std::string& archive, AppcastItem item) {
        server.serve("/q.tar.xz", archive);
        item.url = server.base() + "q.tar.xz";
        server.serve("/appcast.xml", feedOf(item));
    }
    std::string newRelease() { return ReleaseArchive::make(ReleaseArchive::bundle(app, identifier, "1.10", "1.10")); }

    FakePlatform fake;
    testing::LoopbackServer server;
    ReleaseArchive keys;
    orrelith::testing::TemporaryFolder folder{"orrelith-appcast"};
    orrelith::testing::TemporaryFolder preferences{"orrelith-appcast-defaults"};
    std::filesystem::path applications = folder / "Applications", bundle = applications / app;
    std::shared_ptr<PlistUserDefaults> defaults = std::make_shared<PlistUserDefaults>(preferences / "defaults.plist");
    std::shared_ptr<AppcastUpdateService> service;
    std::shared_ptr<FakeUpdateUserInterface> ui = std::make_shared<FakeUpdateUserInterface>();
};

// Each refusal's kinds are tested on the package; here one refused by the package, one cut short by the
// fetch's length limit and one unreadable feed each end the run, then a sound release installs on quit.
TEST_F(AppcastUpdaterTest, ACheckOnlyRunWithAutomaticInstallsInstallsOnlyASoundReleaseQuietlyAndQuits) {
    auto good = newRelease(), tampered = good;
    tampered[tampered.size() / 2] ^= 1;
    auto wrongLength = keys.item(good, "1.10", "");
    wrongLength.length -= 1;
    struct Case {
        const char* name;
        std::string archive;
        AppcastItem item;
        int downloads;
        const char* installed;
    };
    auto before = listing(folder.path());
    for (const auto& test : {Case{"tampered", tampered, keys.item(good, "1.10", ""), 1, "1.9"},
                             Case{"wrong length", good, wrongLength, 2, "1.9"}, Case{"feed not XML", good, {}, 2, "1.9"},
                             Case{"sound", good, keys.item(good, "1.10", ""), 3, "1.10"}}) {
        serveRelease(test.archive, test.item);
        if (test.item.version.empty())
            server.serve("/appcast.xml", "<html><body>Moved</body></html>");
        fake.application->terminations = 0;
        auto updates = Updates::create(Updates::Mode::checkOnly, [] { return true; });
        updates->checkQuietly();
        EXPECT_TRUE(runUntil([&] { return fake.application->terminations > 0; })) << test.name;
        EXPECT_EQ(installedVersion(), "1.9") << "only on quit";
        service->installOnQuit();
        EXPECT_EQ(installedVersion(), test.installed) << test.name;
        EXPECT_EQ(server.count("/q.tar.xz"), test.downloads) << test.name;
        EXPECT_EQ(listing(folder.path()), before) << test.name << ": nothing staged is left";
    }
    EXPECT_TRUE(fake.alert->shown.empty());
}

TEST_F(AppcastUpdaterTest, AnInteractiveCheckOffersTheReleaseAndRemembersASkippedVersion) {
    auto archive = newRelease();
    serveRelease(archive, keys.item(archive, "1.10", ""));
    ui->answers = {UpdateOfferAnswer::skipThisVersion};
    fake.alert->answers = {"OK"};
    auto updates = Updates::create(Updates::Mode::interactive, [] { return true; });
    updates->checkForUpdates();
    ASSERT_TRUE(runUntil([&] { return defaults->dataForKey(AppcastUpdater::skippedVersionKey).has_value(); }));
    EXPECT_EQ(defaults->dataForKey(AppcastUpdater::skippedVersionKey), "1.10");
    updates->checkForUpdates();
    ASSERT_TRUE(runUntil([&] { return fake.alert->shown.size() == 1; }));
    EXPECT_EQ(fake.alert->shown[0].messageText, "You're up to date");
    EXPECT_EQ(ui->record.offers.size(), 1u);
    EXPECT_EQ(server.count("/q.tar.xz"), 0);
    EXPECT_EQ(fake.application->terminations, 0u);
}

TEST_F(AppcastUpdaterTest, InstallingShowsTheDownloadsProgressThenStagesTheReleaseAndQuits) {
    auto archive = newRelease();
    auto item = keys.item(archive, "1.10", "");
    item.releaseNotes = "<p>Calmer scenes.</p>";
    serveRelease(archive, item);
    ui->answers = {UpdateOfferAnswer::installUpdate};
    auto updates = Updates::create(Updates::Mode::interactive, [] { return true; });
    updates->checkForUpdates();
    ASSERT_TRUE(runUntil([&] { return fake.application->terminations > 0; }));
    EXPECT_EQ(ui->record.offers, (std::vector<UpdateOffer>{{"Quorvane Options", "1.10", "1.9", "<p>Calmer scenes.</p>"}}));
    EXPECT_EQ(ui->record.offers[0].message(),
              "Quorvane Options 1.10 is now available; you have 1.9. Would you like to install it now?");
    ASSERT_FALSE(ui->record.progress.empty());
    EXPECT_EQ(ui->record.progress.back(), (FakeUpdateUserInterface::Progress{archive.size(), archive.size()}));
    EXPECT_EQ(ui->record.downloadsClosed, 1);
    EXPECT_TRUE(fake.alert->shown.empty());
    service->installOnQuit();
    EXPECT_EQ(installedVersion(), "1.10");
}

TEST_F(AppcastUpdaterTest, CancellingTheDownloadEndsTheSessionQuietlyWithNothingStaged) {
    // Big enough to arrive in many reads, so that Cancel comes while it is still under way.
    std::string filler(4 << 20, '\0');
    std::mt19937 noise(7);
    for (auto& byte : filler)
        byte = static_cast<char>(noise());
    auto entries = ReleaseArchive::bundle(app, identifier, "1.10", "1.10");
    entries.push_back({app + "/Contents/Resources/filler", ReleaseArchive::Kind::file, filler});
    auto archive = ReleaseArchive::make(entries);
    serveRelease(archive, keys.item(archive, "1.10", ""));
    auto before = listing(folder.path());
    ui->answers = {UpdateOfferAnswer::installUpdate};
    auto updates = Updates::create(Updates::Mode::interactive, [] { return true; });
    updates->checkForUpdates();
    ASSERT_TRUE(runUntil([&] { return !ui->record.progress.empty(); }));
    ASSERT_TRUE(ui->pressCancel());
    // The session is over: the next check offers the release again.
    updates->checkForUpdates();
    ASSERT_TRUE(runUntil([&] { return ui->record.offers.size() == 2; }));
    EXPECT_EQ(listing(folder.path()), before);
    EXPECT_TRUE(fake.alert->shown.empty());
    EXPECT_EQ(fake.application->terminations, 0u);
    service->installOnQuit();
    EXPECT_EQ(installedVersion(), "1.9");
}

// Counts the checks that ended; a build without a feed ends each one with an error, on the fake queue.
struct CheckCounter : UpdaterDelegate, UserDriverDelegate {
    bool willInstallUpdateOnQuit(Updater&, const AppcastItem&, std::function<void()>) override { return false; }
    bool shouldRelaunchApplication(Updater&) override { return false; }
    void didNotFindUpdate(Updater&) override {}
    void didAbortWithError(Updater&, const std::string&) override { ++checks; }
    void willHandleShowingUpdate(bool, const AppcastItem&, const UpdateUserState&) override {}
    void willFinishUpdateSession() override {}
    int checks = 0;
};

TEST(AppcastUpdaterSchedule, ChecksAnIntervalAfterTheLastCheckKeptInTheDefaults) {
    constexpr double day = 86400, hour = 3600, start = 1.0e9;
    struct Row {
        const char* name;
        bool automaticChecks;
        std::optional<double> lastCheck; // seconds before the start
        std::optional<double> firstCheck; // seconds after the start
    };
    const Row rows[] = {
        {"never checked", true, std::nullopt, 0},
        {"an hour ago", true, hour, day - hour},
        {"a week ago", true, 7 * day, 0},
        {"clock set back", true, -30 * day, day},
        {"automatic checks off", false, hour, std::nullopt},
    };
    for (const auto& row : rows) {
        FakePlatform fake;
        orrelith::testing::TemporaryFolder folder{"orrelith-schedule"};
        auto defaults = std::make_shared<PlistUserDefaults>(folder / "defaults.plist");
        if (row.lastCheck)
            defaults->setData(AppcastUpdater::lastCheckKey, std::to_string(static_cast<long long>(start - *row.lastCheck)));
        UpdaterConfiguration configuration;
        configuration.automaticChecks = row.automaticChecks;
        configuration.defaults = defaults;
        configuration.now = [&] { return start + fake.queue->now(); };
        auto counter = std::make_shared<CheckCounter>();
        AppcastUpdateService service(configuration);
        auto controller = service.makeStandardController(StartUpdater::now, counter, counter);
        if (!row.firstCheck) {
            fake.advanceBy(30 * day);
            EXPECT_EQ(counter->checks, 0) << row.name;
            continue;
        }
        if (*row.firstCheck > 0) {
            fake.advanceBy(*row.firstCheck - 1);
            EXPECT_EQ(counter->checks, 0) << row.name;
        }
        fake.advanceBy(*row.firstCheck > 0 ? 1 : 0);
        EXPECT_EQ(counter->checks, 1) << row.name;
        EXPECT_EQ(defaults->dataForKey(AppcastUpdater::lastCheckKey),
                  std::to_string(static_cast<long long>(start + *row.firstCheck))) << row.name;
        fake.advanceBy(day);
        EXPECT_EQ(counter->checks, 2) << row.name;
    }
}

} // namespace
} // namespace orrelith::platform
