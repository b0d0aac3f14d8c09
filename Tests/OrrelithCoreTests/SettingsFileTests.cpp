#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "OrrelithCore/AtomicFile.hpp"
#include "OrrelithCore/HomeFolder.hpp"
#include "OrrelithCore/SettingsFile.hpp"
#include "OrrelithCore/SettingsStore.hpp"
#include "TemporaryFolder.hpp"

using namespace orrelith;
namespace fs = std::filesystem;

namespace {

using orrelith::testing::TemporaryFolder;

void writeText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string readText(const fs::path& path) { return TemporaryFolder::read(path); }

Settings sample() {
    Settings settings;
    settings.displays["frame-0x0"] = DisplayMode::fixed("helm");
    settings.shufflePool = std::vector<std::string>{"helm", "grid"};
    return settings;
}

// Runs `body` in a child process as an unprivileged user (root ignores permission bits); true when it
// returned true.
bool unprivileged(const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0);
        ::_exit(dropped && body() ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct FakeKeyedData final : KeyedData {
    std::map<std::string, std::string, std::less<>> stored;
    mutable std::vector<std::string> askedKeys;
    std::optional<std::string> dataForKey(std::string_view key) const override {
        askedKeys.emplace_back(key);
        const auto found = stored.find(key);
        return found == stored.end() ? std::nullopt : std::optional(found->second);
    }
};

} // namespace

TEST(SettingsFile, LivesInTheUsersHomeFromTheDatabaseAndSaveReplacesTheDocumentInOneStepKeepingItsMode) {
    TemporaryFolder home;
    const auto file = SettingsFile::inSupport(home.path(), "ORVEX");
    EXPECT_FALSE(file.load());
    file.save(Settings());
    const std::string oldText = readText(file.url);
    std::ifstream openedBefore(file.url, std::ios::binary);
    file.save(sample());
    // A reader that opened the old document keeps reading it whole: it was replaced, not rewritten in place.
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(openedBefore), {}), oldText);
    EXPECT_EQ(file.load(), sample());
    EXPECT_EQ(TemporaryFolder::namesIn(file.url.parent_path()), std::set<std::string>{"settings.json"});

    // A replaced file keeps its mode; a new one follows the umask.
    const auto kept = home.path() / "private.plist";
    AtomicFile::write(kept, "old");
    fs::permissions(kept, fs::perms(0600));
    AtomicFile::write(kept, "new");
    EXPECT_EQ(fs::status(kept).permissions(), fs::perms(0600));
    EXPECT_EQ(readText(kept), "new");
    const mode_t mask = ::umask(022);
    AtomicFile::write(home.path() / "fresh", "x");
    ::umask(mask);
    EXPECT_EQ(fs::status(home.path() / "fresh").permissions(), fs::perms(0644));

    // The home folder comes from the user database, not the environment.
    const passwd* entry = ::getpwuid(::getuid());
    ASSERT_NE(entry, nullptr);
    const char* saved = std::getenv("HOME");
    const std::string previous = saved ? saved : "";
    ::setenv("HOME", "/tmp/not-home", 1);
    EXPECT_EQ(HomeFolder::real(), fs::path(entry->pw_dir));
    ::setenv("HOME", previous.c_str(), 1);
    EXPECT_EQ(SettingsFile::inSupport("/home/x", "ORVEX").url,
              fs::path("/home/x/Library/Application Support/ORVEX/settings.json"));
}

TEST(SettingsFile, FailedSavesKeepTheOldDocumentAndLeaveNoTemporaryFile) {
    TemporaryFolder temporary;
    const SettingsFile file(temporary.path() / "ORVEX" / "settings.json");
    file.save(sample());
    const std::string oldText = readText(file.url);
    fs::permissions(temporary.path(), fs::perms(0755));
    fs::permissions(file.url.parent_path(), fs::perms(0555));
    EXPECT_TRUE(unprivileged([&] {
        try {
            file.save(Settings());
        } catch (const std::system_error&) {
            return true;
        }
        return false;
    }));
    fs::permissions(file.url.parent_path(), fs::perms(0755));
    Settings unencodable;
    unencodable.soundVolume = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(file.save(unencodable), std::invalid_argument);
    EXPECT_EQ(readText(file.url), oldText);
    EXPECT_EQ(TemporaryFolder::namesIn(file.url.parent_path()), std::set<std::string>{"settings.json"});

    const SettingsFile blocked(temporary.path() / "blocked.json");
    fs::create_directory(blocked.url); // the rename over a folder fails after the temporary file was written
    EXPECT_THROW(blocked.save(sample()), std::system_error);
    EXPECT_EQ(TemporaryFolder::namesIn(temporary.path()), (std::set<std::string>{"ORVEX", "blocked.json"}));
    EXPECT_THROW(SettingsFile(file.url / "under-a-file.json").save(sample()), fs::filesystem_error);
}

TEST(SettingsFile, LoadGivesNothingForUnreadableOrOversizedDocumentsAndTheLegacyRecordFallsBackToDefaults) {
    TemporaryFolder folder;
    const SettingsFile file(folder.path() / "settings.json");
    for (const std::string& text :
         std::vector<std::string>{"", "[]", "{\"sound\":", std::string("\0{}", 3),
                                  std::string(SettingsFile::maxDocumentSize, ' ') + "{}"}) {
        writeText(file.url, text);
        EXPECT_FALSE(file.load()) << text.substr(0, 10);
    }
    EXPECT_FALSE(SettingsFile(folder.path()).load());
    writeText(file.url, "{\"sound\":false}");
    ASSERT_TRUE(file.load());
    EXPECT_FALSE(file.load()->sound);

    // The legacy record is read, or the defaults stand in.
    FakeKeyedData data;
    const SettingsStore store(data);
    EXPECT_EQ(store.load(), Settings());
    EXPECT_EQ(data.askedKeys, std::vector<std::string>{"settings.v1"});
    data.stored["settings.v1"] = "{\"shuffleInterval\":30,\"crossfade\":false}";
    Settings expected;
    expected.shuffleInterval = 30;
    expected.crossfade = false;
    EXPECT_EQ(store.load(), expected);
    for (const char* bad : {"[]", "not json", "\xff\xfe", "{\"a\":[[[["}) {
        data.stored["settings.v1"] = bad;
        EXPECT_EQ(store.load(), Settings()) << bad;
    }
}

