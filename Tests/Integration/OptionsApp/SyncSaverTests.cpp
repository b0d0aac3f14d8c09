#include "OptionsApp/Install.hpp"
#include "OrrelithCore/InstallOutcome.hpp"
#include "Platform/Fake/FakePlatform.hpp"
#include "SaverBundles.hpp"
#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <system_error>

namespace orrelith {
namespace {

using testing::SaverBundles;
namespace fs = std::filesystem;

class SyncSaverTests : public ::testing::Test {
protected:
    void SetUp() override {
        auto services = platform::installed();
        services.system = system;
        platform::install(services);
        system->placeBelow(folder.path());
        SaverBundles::write(inner(), "1.0", "10", "new");
    }

    fs::path inner() const { return SaverBundles::inner(folder / "Quorvane Options.app"); }
    fs::path installed() const { return folder / "home/Library/Screen Savers/Quorvane.saver"; }
    fs::path temporary() const { return installed().parent_path() / ".Quorvane.saver.4242.new"; }
    void installOld(const std::optional<std::string>& version = "0.9", const std::optional<std::string>& build = "9") {
        SaverBundles::write(installed(), version, build, "old");
    }

    platform::FakePlatform fake;
    std::shared_ptr<testing::DiskSystem> system = std::make_shared<testing::DiskSystem>();
    testing::TemporaryFolder folder{"orrelith-sync"};
};

TEST_F(SyncSaverTests, AFirstInstallMovesTheCopyInReloadsUnlessARunIsShowingAndIsAnnounced) {
    for (bool running : {false, true}) {
        fs::remove_all(installed());
        fake.screenSaverHost->running = running;
        fake.screenSaverHost->record = {};
        auto result = Install::syncSaver();
        EXPECT_EQ(result, SaverSync::fresh());
        EXPECT_EQ(SaverBundles::wholeCopy(installed()), "new");
        EXPECT_FALSE(fs::exists(temporary()));
        EXPECT_EQ(fake.screenSaverHost->record.drops, running ? 0u : 1u);
        EXPECT_EQ(fake.downloadOrigin->removals.back(), temporary());
        EXPECT_EQ(InstallOutcome::notice(result, InstallOutcome::RunMode::interactive), InstallNotice::installed());
    }
}

TEST_F(SyncSaverTests, TheWantedVersionIsLeftAloneAnyOtherEvenWithoutABuildIsReplacedAndAnUnreadableOneCountsAsNone) {
    struct Case {
        std::optional<std::string> version, build;
        bool readable;
        SaverSync expected;
    };
    for (const auto& c : {Case{"1.0", "10", true, SaverSync::unchanged()}, Case{"0.9", "9", true, SaverSync::updated()},
                          Case{"2.0", "20", true, SaverSync::updated()}, Case{"1.0", "10", false, SaverSync::fresh()}}) {
        installOld(c.version, c.build);
        if (!c.readable)
            std::ofstream(installed() / "Contents/Info.plist") << "not a property list";
        fake.screenSaverHost->record = {};
        fake.downloadOrigin->removals.clear();
        EXPECT_EQ(Install::syncSaver(), c.expected);
        bool unchanged = c.expected == SaverSync::unchanged();
        EXPECT_EQ(SaverBundles::wholeCopy(installed()), unchanged ? "old" : "new");
        EXPECT_FALSE(fs::exists(temporary()));
        EXPECT_EQ(fake.screenSaverHost->record.runQueries == 0, unchanged) << "only a change reloads";
        EXPECT_EQ(fake.downloadOrigin->removals.empty(), unchanged);
        fs::remove_all(installed());
    }
    // A short version alone has empty parentheses and differs from any build.
    fs::remove_all(inner());
    SaverBundles::write(inner(), "2.0", std::nullopt, "new");
    EXPECT_EQ(Install::version(inner()), "2.0 ()");
    installOld("2.0", "7");
    EXPECT_EQ(Install::syncSaver(), SaverSync::updated());
}

TEST_F(SyncSaverTests, AFailedStepLeavesTheOldCopyWholeRemovesTheTemporaryCopyAndAfterErrorDecides) {
    auto refuse = [](const std::string& what) { throw std::system_error(EIO, std::generic_category(), what); };
    auto real = SaverFiles::real();
    struct Case {
        const char* step;
        SaverFiles files;
        const char* expectedCopy;
        SaverSync::Kind expected;
    };
    auto folderFails = real, copyFails = real, placeFails = real, failsAfterPlacing = real;
    folderFails.createFolder = [&](const fs::path&) { refuse("Couldn't create the folder"); };
    copyFails.copy = [&](const fs::path& from, const fs::path& to) {
        fs::create_directories(to / "Contents/Resources");
        fs::copy(from / "Contents/Resources/file0.txt", to / "Contents/Resources");
        refuse("Couldn't copy the screen saver");
    };
    placeFails.putInPlace = [&](const fs::path&, const fs::path&) { refuse("Couldn't put it in place"); };
    failsAfterPlacing.putInPlace = [&](const fs::path& replacement, const fs::path& at) {
        real.putInPlace(replacement, at);
        refuse("Couldn't finish");
    };
    for (const auto& c : {Case{"folder", folderFails, "old", SaverSync::Kind::failed},
                          Case{"copy", copyFails, "old", SaverSync::Kind::failed},
                          Case{"exchange", placeFails, "old", SaverSync::Kind::failed},
                          Case{"after exchange", failsAfterPlacing, "new", SaverSync::Kind::updated}}) {
        SCOPED_TRACE(c.step);
        fs::remove_all(installed());
        installOld();
        fake.screenSaverHost->record = {};
        auto result = Install::syncSaver(c.files);
        EXPECT_EQ(result.kind(), c.expected);
        EXPECT_EQ(SaverBundles::wholeCopy(installed()), c.expectedCopy);
        EXPECT_FALSE(fs::exists(temporary()));
        EXPECT_EQ(fake.screenSaverHost->record.drops, 0u);
        EXPECT_TRUE(system->logLines.back().starts_with("Quorvane: couldn't install the screen saver: "));
    }
}

TEST_F(SyncSaverTests, WhereTheFileSystemCannotExchangeTheOldCopyIsRenamedAsideAndBackOnFailure) {
    installOld();
    SaverBundles::write(temporary(), "1.0", "10", "new");
    SaverFiles::replace(temporary(), installed(), SaverFiles::Exchange::renameAside);
    EXPECT_EQ(SaverBundles::wholeCopy(installed()), "new");
    EXPECT_EQ(SaverBundles::wholeCopy(temporary()), "old");

    fs::remove_all(temporary());
    // The replacement is gone, so the second rename fails: the old copy must come back.
    fs::path missing = installed().parent_path() / "missing";
    EXPECT_THROW(SaverFiles::replace(missing, installed(), SaverFiles::Exchange::renameAside), std::system_error);
    EXPECT_EQ(SaverBundles::wholeCopy(installed()), "new");
}

} // namespace
} // namespace orrelith
