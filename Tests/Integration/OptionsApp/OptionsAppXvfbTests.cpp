// Quorvane Options from the build, started as a new user would start it: its own user and home, an X
// server with a window manager and a session bus. The application is driven through the X server.
#include "../Host/HostProcess.hpp"
#include "../Host/ScenePicture.hpp"
#include "../Platform/MainLoopSupport.hpp"
#include "TemporaryFolder.hpp"

#include <gio/gdesktopappinfo.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <map>

namespace {

namespace fs = std::filesystem;

const fs::path application = ORRELITH_OPTIONS_BUNDLE;
const std::string productWindow = "^Quorvane$";
const std::string installedAlert = "^Quorvane is installed$";

// The visible X windows whose title matches, or of one process.
std::vector<std::string> windows(const std::string& selector) {
    return commandLines("xdotool search --onlyvisible " + selector);
}

std::vector<std::string> titled(const std::string& pattern) { return windows("--name '" + pattern + "'"); }

void press(const std::string& window, const std::string& key) {
    std::system(("xdotool windowactivate --sync " + window + " key --clearmodifiers " + key + " >/dev/null 2>&1").c_str());
}

// A click at a point of the window, counted from its top left corner.
void click(const std::string& window, int x, int y) {
    std::system(("xdotool windowactivate --sync " + window + " mousemove --window " + window + " " + std::to_string(x) +
                 " " + std::to_string(y) + " click 1 >/dev/null 2>&1")
                    .c_str());
}

// What a screen-saver run shows on the screen, five seconds in: the scene whose still is nearest.
std::string sceneOfARun(const fs::path& folder, const fs::path& gallery) {
    auto png = folder / "run.png";
    commandOutput(ORRELITH_HOST_FOLDER "/quorvane-host --duration 7 --screenshot " + png.string() + " --screenshot-after 5");
    auto picture = ScenePicture::load(png);
    auto match = picture ? picture->nearest(picture->whole(), gallery) : ScenePicture::Match{};
    return match.isClear() ? match.slug : "";
}

// The program a desktop entry starts, read as the desktop reads it: the value unescaped, then split into
// words as the format quotes them.
fs::path launchedProgram(const fs::path& entry) {
    GDesktopAppInfo* info = g_desktop_app_info_new_from_filename(entry.c_str());
    if (!info)
        return {};
    char* exec = g_desktop_app_info_get_string(info, "Exec");
    char** words = nullptr;
    fs::path program = exec && g_shell_parse_argv(exec, nullptr, &words, nullptr) ? words[0] : "";
    g_strfreev(words);
    g_free(exec);
    g_object_unref(info);
    return program;
}

// Every file and folder below `home` with its size and change time: what a start that touches nothing keeps.
// The toolkit's and the graphics driver's caches are theirs, not the application's.
std::map<std::string, std::string> snapshot(const fs::path& home) {
    std::map<std::string, std::string> entries;
    for (auto entry = fs::recursive_directory_iterator(home); entry != fs::recursive_directory_iterator(); ++entry) {
        if (entry->path() == home / ".cache") {
            entry.disable_recursion_pending();
            continue;
        }
        auto time = fs::last_write_time(entry->path()).time_since_epoch().count();
        auto size = entry->is_regular_file() ? entry->file_size() : 0;
        entries[fs::relative(entry->path(), home).string()] = std::to_string(size) + "@" + std::to_string(time);
    }
    return entries;
}

// The process ids of this user's screen-saver settings panes.
std::vector<std::string> settingsPanes() { return commandLines("pgrep -u \"$(id -u)\" -f '/quorvane-host --settings$'"); }

class OptionsAppXvfbTests : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("ORRELITH_THROWAWAY_HOME"))
            GTEST_SKIP() << "runs only as a throwaway user, whose home it fills";
        home = std::getenv("ORRELITH_THROWAWAY_HOME");
    }
    std::unique_ptr<HostProcess> start(std::vector<std::string> arguments, const std::string& log,
                                       const char* display = std::getenv("DISPLAY")) {
        // The settings pane is looked for on the path.
        return std::make_unique<HostProcess>(
            arguments, logs.path() / log,
            std::vector<std::string>{"PATH=" ORRELITH_HOST_FOLDER ":/usr/bin:/bin", "DISPLAY=" + std::string(display ? display : "")});
    }
    void secondStart();

    fs::path home;
    orrelith::testing::TemporaryFolder logs;
};

TEST_F(OptionsAppXvfbTests, TheFirstStartInstallsAndTellsTheSecondTouchesNothingAndBackgroundRunsStayApart) {
    auto first = start({}, "first.log");
    ASSERT_TRUE(pumpUntil([] { return !titled(installedAlert).empty(); }, 60)) << first->messages();
    auto installed = home / "Library/Screen Savers/Quorvane.saver";
    EXPECT_TRUE(fs::is_regular_file(installed / "Contents/Linux/Quorvane.so"));
    EXPECT_EQ(orrelith::testing::TemporaryFolder::read(installed / "Contents/Info.plist"),
              orrelith::testing::TemporaryFolder::read(application / "Contents/Library/Screen Savers/Quorvane.saver/Contents/Info.plist"));
    auto entry = home / ".local/share/applications/org.kestrin.orvex.options.desktop";
    EXPECT_EQ(launchedProgram(entry), application / "Contents/Linux/Quorvane Options");
    // The alert's default button opens the screen-saver settings.
    press(titled(installedAlert).front(), "Return");
    EXPECT_TRUE(pumpUntil([] { return !settingsPanes().empty(); }, 20)) << "no settings pane: " << first->messages();
    ASSERT_EQ(titled(productWindow).size(), 1u);
    // Where the window lays them out on one display: "Single Screen" pins the catalog's first scene, and
    // Done saves it; the last window's close ends the application.
    click(titled(productWindow).front(), 520, 380);
    click(titled(productWindow).front(), 622, 764);
    ASSERT_TRUE(first->waitForExit(20));
    EXPECT_EQ(first->exitStatus(), 0) << first->messages();
    EXPECT_TRUE(fs::is_regular_file(home / "Library/Application Support/ORVEX/settings.json"));
    auto resources = installed / "Contents/Resources/ORVEX";
    auto catalog = orrelith::testing::TemporaryFolder::read(resources / "catalog.json");
    auto slug = catalog.find("\"slug\": \"");
    ASSERT_NE(slug, std::string::npos);
    auto firstScene = catalog.substr(slug + 9, catalog.find('"', slug + 9) - slug - 9);
    EXPECT_EQ(sceneOfARun(logs.path(), resources / "gallery"), firstScene) << "the next run shows the pinned scene";
    secondStart();
}

// The second start: the window and nothing else, no file touched. Meanwhile a background check runs as an
// instance of its own, and a third start hands itself to the running window.
void OptionsAppXvfbTests::secondStart() {
    for (const auto& pane : settingsPanes())
        kill(std::stoi(pane), SIGKILL);
    ASSERT_TRUE(pumpUntil([] { return settingsPanes().empty(); }, 10));
    auto before = snapshot(home);
    auto second = start({}, "second.log");
    ASSERT_TRUE(pumpUntil([] { return !titled(productWindow).empty(); }, 60)) << second->messages();
    pumpFor(2);
    auto pid = " --pid " + std::to_string(second->pid());
    EXPECT_EQ(windows(pid).size(), 1u) << "only the options window";
    auto check = start({"--check-updates"}, "check.log");
    auto third = start({}, "third.log");
    EXPECT_TRUE(third->waitForExit(20)) << "the third start did not hand itself over";
    EXPECT_EQ(third->exitStatus(), 0) << third->messages();
    // This build carries no update key, so the background check fails at once and its run ends by itself,
    // having shown nothing and left the running window alone.
    EXPECT_TRUE(check->waitForExit(20)) << check->messages();
    EXPECT_TRUE(windows(" --pid " + std::to_string(check->pid())).empty());
    EXPECT_EQ(windows(pid).size(), 1u);
    // Window › Close: nothing saved, and the last window's close ends the application.
    press(titled(productWindow).front(), "ctrl+w");
    ASSERT_TRUE(second->waitForExit(20));
    EXPECT_EQ(second->exitStatus(), 0) << second->messages();
    // The background check records when it last looked in the application's defaults: that file (and its
    // folder, where it is replaced) is the check's, not the second start's.
    auto after = snapshot(home);
    for (auto* state : {&before, &after})
        for (const char* checks : {"Library/Preferences", "Library/Preferences/org.kestrin.orvex.options.plist"})
            state->erase(checks);
    EXPECT_EQ(after, before);

    // Where no display opens (a timer firing with no graphical session), a background check still puts the
    // screen saver back and ends by itself.
    auto installed = home / "Library/Screen Savers/Quorvane.saver";
    fs::remove_all(installed);
    auto headless = start({"--check-updates"}, "headless.log", "");
    ASSERT_TRUE(headless->waitForExit(30)) << headless->messages();
    EXPECT_EQ(headless->exitStatus(), 0) << headless->messages();
    EXPECT_TRUE(fs::is_regular_file(installed / "Contents/Linux/Quorvane.so")) << headless->messages();
}

} // namespace
