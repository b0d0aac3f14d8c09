#include <gtest/gtest.h>

#include "OrrelithCore/InstallOutcome.hpp"

using namespace orrelith;

TEST(InstallOutcome, AfterAnErrorTheWantedVersionInPlaceCountsAsSuccessAndOnlyAFirstInstallOrAFailureIsAnnounced) {
    struct Row {
        std::optional<std::string> installed;
        std::optional<std::string> before;
        SaverSync expected;
    };
    const std::vector<Row> table = {
        {std::nullopt, std::nullopt, SaverSync::failed("disk full")},
        {std::nullopt, "1.0 (1)", SaverSync::failed("disk full")},
        {"1.0 (1)", "1.0 (1)", SaverSync::failed("disk full")},
        {"2.0 ()", std::nullopt, SaverSync::failed("disk full")},
        {"2.0 (7)", std::nullopt, SaverSync::fresh()},
        {"2.0 (7)", "1.0 (1)", SaverSync::updated()},
    };
    for (const auto& row : table) {
        EXPECT_EQ(InstallOutcome::afterError("disk full", row.installed, "2.0 (7)", row.before), row.expected)
            << row.installed.value_or("-") << " / " << row.before.value_or("-");
    }

    // Only a first installation or a failure is announced.
    using Mode = InstallOutcome::RunMode;
    const std::vector<std::tuple<SaverSync, Mode, InstallNotice>> notices = {
        {SaverSync::failed("no space"), Mode::interactive, InstallNotice::failed("no space")},
        {SaverSync::fresh(), Mode::interactive, InstallNotice::installed()},
        {SaverSync::updated(), Mode::interactive, InstallNotice::none()},
        {SaverSync::unchanged(), Mode::interactive, InstallNotice::none()},
        {SaverSync::failed("no space"), Mode::checkOnly, InstallNotice::none()},
        {SaverSync::fresh(), Mode::checkOnly, InstallNotice::none()},
        {SaverSync::updated(), Mode::checkOnly, InstallNotice::none()},
    };
    for (const auto& [sync, mode, expected] : notices)
        EXPECT_EQ(InstallOutcome::notice(sync, mode), expected);
    EXPECT_NE(SaverSync::failed("a"), SaverSync::failed("b"));
    EXPECT_NE(InstallNotice::failed(""), InstallNotice::none());
}

TEST(InstallOutcome, DiskImagesAndTranslocatedCopiesAreRecognised) {
    const std::vector<std::pair<std::string, bool>> table = {
        {"/Volumes/Quorvane/Quorvane Options.app", true},
        {"/private/var/folders/x/AppTranslocation/1234/d/Quorvane Options.app", true},
        {"/Applications/Quorvane Options.app", false},
        {"/volumes/Quorvane/Quorvane Options.app", false},
        {"/Users/a/Volumes/Quorvane Options.app", false},
        {"/x/apptranslocation/y.app", false},
        {"/Volumes", false},
    };
    for (const auto& [path, expected] : table)
        EXPECT_EQ(InstallOutcome::runsFromDiskImage(path), expected) << path;
}
