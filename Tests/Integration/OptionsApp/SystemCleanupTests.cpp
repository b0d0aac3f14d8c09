#include "OptionsApp/Install.hpp"
#include "Platform/Fake/FakePlatform.hpp"
#include "Platform/Linux/App/PkexecAdministratorScript.hpp"
#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <set>

namespace orrelith {
namespace {

namespace fs = std::filesystem;

TEST(SystemCleanupTests, TheRemovalCommandRemovesExactlyTheHostilePathsItNames) {
    testing::TemporaryFolder sandbox, bin;
    // Records its arguments, then runs them in the sandbox, where a command substitution would leave a file.
    auto pkexec = bin.write("pkexec", "#!/bin/sh\nprintf '%s\\0' \"$@\" > \"$(dirname \"$0\")/arguments\"\ncd '" +
                                          sandbox.path().string() + "' && exec \"$@\"\n");
    fs::permissions(pkexec, fs::perms::owner_all);
    std::vector<std::string> hostile{"it's", "say \"hi\"", "back\\slash", "$(touch pwned)", "`touch pwned`",
                                     "two words", "line\nbreak", "-rf", "'\\''", "\\\"", "ends\\"};
    std::set<std::string> decoys{"it", "s", "say", "hi", "back", "slash", "two", "words", "line", "break", "pwned-not"};
    std::vector<std::string> targets;
    for (const auto& name : hostile)
        targets.push_back(sandbox.write(name + "/inside", "x").parent_path().string());
    for (const auto& name : decoys)
        sandbox.write(name, "keep");
    auto script = Install::removalScript(targets);
    EXPECT_EQ(platform::PkexecAdministratorScript(bin.path().string()).execute(script), std::nullopt);
    EXPECT_EQ(testing::TemporaryFolder::namesIn(sandbox.path()), decoys);
    auto arguments = testing::TemporaryFolder::read(bin / "arguments");
    std::string command = *platform::PkexecAdministratorScript::command(script);
    EXPECT_EQ(arguments, std::string("/bin/sh") + '\0' + "-c" + '\0' + command + '\0');
}

class CleanupOfferTests : public ::testing::Test {
protected:
    void SetUp() override { root.write("Library/Screen Savers/ORVEX.saver/Contents/Info.plist", ""); }
    bool declined() { return fake.preferences->standardUserDefaults()->boolForKey("declinedSystemCleanup"); }

    platform::FakePlatform fake;
    testing::TemporaryFolder root;
};

TEST_F(CleanupOfferTests, AFailedRemovalChangesNothingARemovalReloadsAndNotNowIsRememberedForGood) {
    auto copies = Install::systemCopies(root.path());
    EXPECT_EQ(copies, std::vector<std::string>{(root / "Library/Screen Savers/ORVEX.saver").string()});
    fake.administrator->error = "dismissed";
    Install::offerToRemoveSystemCopies(root.path());
    EXPECT_EQ(fake.screenSaverHost->record.drops, 0u);
    fake.administrator->error.reset();
    Install::offerToRemoveSystemCopies(root.path());
    EXPECT_EQ(fake.screenSaverHost->record.drops, 1u);
    EXPECT_EQ(fake.administrator->scripts.back(), Install::removalScript(copies));
    EXPECT_FALSE(declined());
    fake.alert->answers = {"Not Now"};
    Install::offerToRemoveSystemCopies(root.path());
    EXPECT_TRUE(declined());
    Install::offerToRemoveSystemCopies(root.path());
    EXPECT_EQ(fake.alert->shown.size(), 3u);
    EXPECT_EQ(fake.administrator->scripts.size(), 2u);
}

} // namespace
} // namespace orrelith
