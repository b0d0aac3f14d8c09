// The settings pane in process on the real platform under Xvfb, as a throwaway user whose home holds the
// build's Quorvane.saver: what it lists and previews, its options sheet, and the delay turning the real
// daemon (the build's quorvane-host) on and off.
#include "../Platform/MainLoopSupport.hpp"
#include "../Platform/WidgetSearch.hpp"
#include "Host/SettingsPane/SettingsPane.hpp"
#include "Platform/Linux/App/LinuxScreenSaverHost.hpp"
#include "Platform/Linux/LinuxPlatform.hpp"
#include "Platform/Linux/System/PlistPreferences.hpp"
#include "Platform/Linux/Views/GtkWindowBackend.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/System.hpp"
#include "Platform/Views/WindowSystem.hpp"
#include "ScenePicture.hpp"
#include "TemporaryFolder.hpp"

#include <adwaita.h>
#include <gtest/gtest.h>


using namespace orrelith;
using orrelith::testing::find;
namespace fs = std::filesystem;

namespace {

class SettingsPaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* throwaway = std::getenv("ORRELITH_THROWAWAY_HOME");
        if (!throwaway)
            GTEST_SKIP() << "the pane writes the user's autostart entry and starts their daemon: run it as a "
                            "throwaway user (Tests/Integration/Host/as-throwaway-user.sh, as root)";
        home = throwaway;
        auto services = platform::linuxServices();
        // As in the host program, whose preferences the daemon reads.
        services.preferences = std::make_shared<platform::PlistPreferences>(home, "quorvane-host");
        services.screenSaverHost = std::make_shared<platform::LinuxScreenSaverHost>(
            std::vector<fs::path>{fs::path(ORRELITH_HOST).parent_path()});
        platform::install(services);
        auto installed = home / "Library" / "Screen Savers" / "Quorvane.saver";
        fs::create_directories(installed.parent_path());
        if (!fs::exists(installed))
            fs::copy(ORRELITH_SAVER_BUNDLE, installed, fs::copy_options::recursive);
    }
    void TearDown() override {
        if (platform::installed().screenSaverHost)
            platform::screenSaverHost().stopDaemons();
        platform::uninstall();
    }

    fs::path home;
};

TEST_F(SettingsPaneTest, ListsAndPreviewsTheInstalledSaverAndTheDelayTurnsTheDaemonOnAndOff) {
    bool closed = false;
    auto pane = host::SettingsPane::create(host::HostOptions{}, ORRELITH_HOST, [&] { closed = true; },
                                           [](const std::string& line) { ADD_FAILURE() << line; });
    pane->show();
    auto* window = GTK_WIDGET(dynamic_cast<platform::GtkWindowBackend&>(pane->window()->backend()).gtkWindow());
    GtkWidget* saver = find(window, "Quorvane", ADW_TYPE_ACTION_ROW);
    ASSERT_TRUE(saver);
    EXPECT_STREQ(adw_action_row_get_subtitle(ADW_ACTION_ROW(saver)), "Installed for you");

    pumpFor(3);
    auto picture = fs::path(home) / "pane.png";
    ASSERT_FALSE(platform::windows().writeScreenshot({pane->window()}, picture));
    auto shot = ScenePicture::load(picture);
    ASSERT_TRUE(shot);
    auto nearest = shot->nearest({132, 16, 296, 184},
                                 fs::path(ORRELITH_SAVER_BUNDLE) / "Contents" / "Resources" / "ORVEX" / "gallery");
    EXPECT_TRUE(nearest.isClear()) << "no still in the preview; nearest " << nearest.slug << " at " << nearest.distance;

    g_signal_emit_by_name(find(window, "Options\u2026", GTK_TYPE_BUTTON), "clicked");
    EXPECT_TRUE(pane->window()->attachedSheet()) << "no options sheet";

    GtkWidget* delay = find(window, "Start after", ADW_TYPE_COMBO_ROW);
    ASSERT_TRUE(delay);
    EXPECT_STREQ(gtk_string_object_get_string(GTK_STRING_OBJECT(adw_combo_row_get_selected_item(ADW_COMBO_ROW(delay)))),
                 "Never");
    auto entry = home / ".config" / "autostart" / "quorvane-host.desktop";
    adw_combo_row_set_selected(ADW_COMBO_ROW(delay), 2);
    EXPECT_TRUE(pumpUntil([] { return platform::screenSaverHost().daemonRunning(); }, 10)) << "no daemon";
    auto contents = orrelith::testing::TemporaryFolder::read(entry);
    EXPECT_NE(contents.find(std::string("Exec=\"") + ORRELITH_HOST + "\" --daemon"), std::string::npos) << contents;
    EXPECT_EQ(platform::PlistPreferences(home, "quorvane-host").standardUserDefaults()->dataForKey("idleDelay"), "300");

    adw_combo_row_set_selected(ADW_COMBO_ROW(delay), 7);
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_TRUE(pumpUntil([] { return !platform::screenSaverHost().daemonRunning(); }, 10)) << "the daemon stays";

    pane->close();
    EXPECT_TRUE(pumpUntil([&] { return closed; }, 2));
}

} // namespace
