// The options window for real: GTK and libadwaita under Xvfb, operated with pointer clicks and key presses
// through the X server (xdotool), checked against the model and the document Done writes.
#include "MainLoopSupport.hpp"
#include "WidgetSearch.hpp"
#include "OrrelithCore/SettingsFile.hpp"
#include "Platform/Fake/System/FakeSystem.hpp"
#include "Platform/Linux/LinuxPlatform.hpp"
#include "Saver/OptionsSheet/DisplayArrangement.hpp"
#include "Saver/OptionsSheet/OptionsWindow.hpp"
#include "Saver/SceneThumbnails.hpp"
#include "TemporaryFolder.hpp"

#include <adwaita.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

// Last: Xlib's macros (None, Bool) would clash with the headers above.
#include <gdk/x11/gdkx.h>

using namespace orrelith;
using namespace orrelith::testing;

namespace {

namespace fs = std::filesystem;

// Where the tests' bundle and home folder live; the real services with a system that points there.
struct Environment {
    TemporaryFolder folder{"orrelith-options"};
    std::shared_ptr<platform::FakeSystem> system = std::make_shared<platform::FakeSystem>();

    Environment() {
        auto bundle = folder / "Quorvane Options.app";
        auto resources = bundle / "Contents" / "Resources";
        fs::create_directories(resources / "ORVEX" / "gallery");
        fs::copy_file(fs::path(ORRELITH_COLLECTION) / "catalog.json", resources / "ORVEX" / "catalog.json");
        // Every still but one: that tile stays black and must still work.
        for (const auto& still : fs::directory_iterator(fs::path(ORRELITH_COLLECTION) / "gallery"))
            if (still.path().stem() != "bridge-status")
                fs::copy_file(still.path(), resources / "ORVEX" / "gallery" / still.path().filename());
        system->codeBundle = platform::Bundle{bundle, resources, {{"CFBundleShortVersionString", "1.0.0"}, {"CFBundleVersion", "7"}}, {}};
        system->homeFolderValue = folder / "home";
        auto services = platform::linuxServices();
        services.system = system;
        platform::install(services);
    }
    fs::path settingsPath() const { return SettingsFile::inSupport(system->homeFolderValue, "ORVEX").url; }
};

Environment* environment;

bool visibleOnScreen(GtkWidget* widget) { return widget && gtk_widget_get_mapped(widget) && gtk_widget_get_width(widget) > 0; }

bool soon(const std::function<bool()>& done) { return pumpUntil(done, 3.0); }

void run(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

// Brings a widget inside the scrolling form into view, waiting for a form that is still growing.
void scrollTo(GtkWidget* widget) {
    GtkWidget* scroller = gtk_widget_get_ancestor(widget, GTK_TYPE_SCROLLED_WINDOW);
    if (!scroller)
        return;
    GtkAdjustment* adjustment = gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(scroller));
    EXPECT_TRUE(soon([&] {
        graphene_rect_t bounds;
        if (!gtk_widget_compute_bounds(widget, scroller, &bounds))
            return false;
        if (bounds.origin.y >= 0 && bounds.origin.y + bounds.size.height <= gtk_widget_get_height(scroller))
            return true;
        gtk_adjustment_set_value(adjustment, gtk_adjustment_get_value(adjustment) + bounds.origin.y - 40);
        pumpFor(0.05);
        return false;
    })) << "the widget comes into view";
}

// Where the middle of the widget is on its window's surface, once the layout has stopped moving it.
graphene_point_t settledMiddle(GtkWidget* widget) {
    GtkNative* native = gtk_widget_get_native(widget);
    double dx = 0, dy = 0;
    gtk_native_get_surface_transform(native, &dx, &dy);
    graphene_point_t middle{float(gtk_widget_get_width(widget) / 2.0), float(gtk_widget_get_height(widget) / 2.0)};
    graphene_point_t at{}, before{-1, -1};
    for (int tries = 0; tries < 20 && !graphene_point_equal(&at, &before); ++tries) {
        before = at;
        pumpFor(0.05);
        EXPECT_TRUE(gtk_widget_compute_point(widget, GTK_WIDGET(native), &middle, &at));
    }
    return {float(at.x + dx), float(at.y + dy)};
}

// A pointer click at the middle of the widget, through the X server.
void click(GtkWidget* widget) {
    ASSERT_TRUE(visibleOnScreen(widget));
    // The form may scroll by itself on a later turn (to the pinned scene): scroll again until it stays.
    graphene_point_t at{};
    for (int tries = 0; tries < 5; ++tries) {
        scrollTo(widget);
        at = settledMiddle(widget);
        if (at.y < gtk_widget_get_height(GTK_WIDGET(gtk_widget_get_native(widget))))
            break;
    }
    auto xid = gdk_x11_surface_get_xid(gtk_native_get_surface(gtk_widget_get_native(widget)));
    run("xdotool mousemove --window " + std::to_string(xid) + " " + std::to_string(int(at.x)) + " " +
        std::to_string(int(at.y)) + " click 1");
    pumpFor(0.1);
}

// A scene tile by its title. Tiles are made as they come into view, so this scrolls down the form as a
// person looking for it would.
GtkWidget* findTile(GtkWidget* root, const std::string& title) {
    GtkAdjustment* adjustment = gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(findType(root, GTK_TYPE_SCROLLED_WINDOW)));
    gtk_adjustment_set_value(adjustment, 0);
    GtkWidget* found = nullptr;
    EXPECT_TRUE(soon([&] {
        found = find(root, title, GTK_TYPE_BUTTON);
        gtk_adjustment_set_value(adjustment, gtk_adjustment_get_value(adjustment) + gtk_adjustment_get_page_size(adjustment) / 2);
        pumpFor(0.05);
        return found != nullptr;
    })) << title;
    return found;
}

void press(GtkWindow* window, const char* key) {
    auto xid = gdk_x11_surface_get_xid(gtk_native_get_surface(GTK_NATIVE(window)));
    run("xdotool windowfocus --sync " + std::to_string(xid) + " key " + key);
    pumpFor(0.2);
}

class OptionsWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { environment = new Environment; }
    static void TearDownTestSuite() {
        platform::uninstall();
        delete environment;
    }
    void SetUp() override {
        fs::remove_all(environment->system->homeFolderValue);
        environment->system->logLines.clear();
    }
    void TearDown() override {
        if (window)
            gtk_window_destroy(window);
        SceneThumbnails::resetForTesting();
    }

    // Replaces the window a previous case left open.
    GtkWindow* open(GtkWindow* made) {
        if (window)
            gtk_window_destroy(window);
        window = made;
        OptionsWindow::present(window);
        EXPECT_TRUE(pumpUntil([&] { return gtk_widget_get_mapped(GTK_WIDGET(window)) && gtk_widget_get_width(GTK_WIDGET(window)) >= 660; }));
        pumpFor(0.3);
        return window;
    }
    GtkWidget* root() const { return GTK_WIDGET(window); }
    std::shared_ptr<OptionsModel> model() const { return OptionsWindow::model(window); }
    GtkWidget* control(const std::string& row, GType type) { return findType(find(root(), row, ADW_TYPE_PREFERENCES_ROW), type); }

    GtkWindow* window = nullptr;
};

} // namespace

TEST_F(OptionsWindowTest, EditsMadeWithRealEventsAreWhatDoneSaves) {
    Settings initial;
    initial.sound = true;
    open(OptionsWindow::make(OptionsWindow::Presentation::standalone, initial, {}));
    auto model = this->model();
    ASSERT_EQ(model->displays().size(), 1U);

    click(control("Engine sound", GTK_TYPE_SWITCH));
    EXPECT_TRUE(soon([&] { return !model->settings().sound; }));
    EXPECT_FALSE(gtk_widget_is_sensitive(findType(root(), GTK_TYPE_SCALE))) << "the volume waits while the sound is off";

    click(find(root(), "Change screen", ADW_TYPE_COMBO_ROW));
    GtkWidget* popover = findType(find(root(), "Change screen", ADW_TYPE_COMBO_ROW), GTK_TYPE_POPOVER);
    ASSERT_TRUE(soon([&] { return visibleOnScreen(popover); }));
    click(find(popover, "When the screen saver starts"));
    EXPECT_TRUE(soon([&] { return model->settings().shuffleInterval == 0; }));

    click(find(root(), "Single Screen", GTK_TYPE_TOGGLE_BUTTON));
    EXPECT_TRUE(soon([&] { return model->pinned() == model->catalog().scenes.front().slug; }));
    click(findTile(root(), "Cargo & Logistics"));
    EXPECT_TRUE(soon([&] { return model->pinned() == "cargo-logistics"; }));
    click(findTile(root(), "Command Status Board"));
    EXPECT_TRUE(soon([&] { return model->pinned() == "bridge-status"; })) << "a tile without a still still works";

    click(find(root(), "Shuffle", GTK_TYPE_TOGGLE_BUTTON));
    click(find(root(), "Screens", ADW_TYPE_ACTION_ROW));
    ASSERT_TRUE(soon([&] { return model->choosingPool(); }));
    GtkWidget* menuButton = findType(find(root(), "Screens in Shuffle", ADW_TYPE_PREFERENCES_GROUP), GTK_TYPE_MENU_BUTTON);
    click(menuButton);
    GtkWidget* menu = GTK_WIDGET(gtk_menu_button_get_popover(GTK_MENU_BUTTON(menuButton)));
    ASSERT_TRUE(soon([&] { return visibleOnScreen(menu); }));
    click(find(menu, "Remove Medical"));
    EXPECT_TRUE(soon([&] { return model->poolSummary() == "13 of 15 screens"; }));
    click(findTile(root(), "Fleet Positions"));
    EXPECT_TRUE(soon([&] { return model->poolSummary() == "12 of 15 screens"; }));

    click(find(root(), model->displays().front().name, GTK_TYPE_BUTTON));
    EXPECT_TRUE(soon([&] { return !model->choosingPool(); })) << "a display tile leaves the pool editor";
    press(window, "Return");
    EXPECT_TRUE(soon([&] { return !gtk_widget_get_visible(root()); }));
    auto saved = SettingsFile(environment->settingsPath()).load();
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, model->settingsToSave());
    EXPECT_EQ(saved->shuffleInterval, 0);
    EXPECT_FALSE(saved->sound);
    EXPECT_EQ(saved->displayNames.size(), 1U);
}

TEST_F(OptionsWindowTest, CancelEscapeAndTheTitleBarCloseWriteNothing) {
    struct Case {
        const char* name;
        std::function<void(GtkWindow*)> close;
    };
    const Case cases[] = {
        {"Cancel", [](GtkWindow* window) { click(find(GTK_WIDGET(window), "Cancel", GTK_TYPE_BUTTON)); }},
        {"Escape", [](GtkWindow* window) { press(window, "Escape"); }},
        {"the title bar", [](GtkWindow* window) {
             GtkWidget* controls = findType(GTK_WIDGET(window), GTK_TYPE_WINDOW_CONTROLS);
             GtkWidget* close = gtk_widget_get_last_child(controls);
             ASSERT_TRUE(gtk_widget_has_css_class(close, "close"));
             click(close);
         }},
    };
    for (const auto& c : cases) {
        open(OptionsWindow::make(OptionsWindow::Presentation::standalone, Settings(), {}));
        click(control("Crossfade between screens", GTK_TYPE_SWITCH));
        ASSERT_TRUE(soon([&] { return !model()->settings().crossfade; })) << c.name;
        c.close(window);
        EXPECT_TRUE(soon([&] { return !gtk_widget_get_visible(root()); })) << c.name;
        EXPECT_FALSE(fs::exists(environment->settingsPath())) << c.name;
    }
}

TEST_F(OptionsWindowTest, TheFooterOffersUpdatesOnlyWithAnUpdateCheck) {
    open(OptionsWindow::make(OptionsWindow::Presentation::attached, Settings(), {}));
    GtkWidget* cancel = find(root(), "Cancel", GTK_TYPE_BUTTON);
    std::vector<std::string> footer;
    for (GtkWidget* child = gtk_widget_get_first_child(gtk_widget_get_parent(cancel)); child;
         child = gtk_widget_get_next_sibling(child))
        if (auto text = textOf(child); !text.empty())
            footer.push_back(text);
    EXPECT_EQ(footer, (std::vector<std::string>{"Version 1.0.0 (7)", "Cancel", "Done"}));
    EXPECT_EQ(findType(root(), GTK_TYPE_WINDOW_CONTROLS) ? findType(findType(root(), GTK_TYPE_WINDOW_CONTROLS), GTK_TYPE_BUTTON) : nullptr, nullptr)
        << "an attached window has no close button";

    int checks = 0;
    open(OptionsWindow::make(OptionsWindow::Presentation::standalone, Settings(), [&] { ++checks; }));
    click(find(root(), "Check for Updates\u2026", GTK_TYPE_BUTTON));
    click(find(root(), "Update automatically", GTK_TYPE_CHECK_BUTTON));
    EXPECT_TRUE(soon([&] { return checks == 1 && !model()->settings().autoInstallUpdates; }));
}

TEST_F(OptionsWindowTest, AFailedSaveShowsTheAlertOverTheWindowAndKeepsTheEdits) {
    // The settings folder is a plain file, so the document cannot be written.
    auto folder = environment->system->homeFolderValue / "Library/Application Support/ORVEX";
    fs::create_directories(folder.parent_path());
    std::ofstream(folder) << "";
    open(OptionsWindow::make(OptionsWindow::Presentation::standalone, Settings(), {}));
    click(control("Crossfade between screens", GTK_TYPE_SWITCH));
    ASSERT_TRUE(soon([&] { return !model()->settings().crossfade; }));
    click(find(root(), "Done", GTK_TYPE_BUTTON));
    GtkWindow* alert = nullptr;
    ASSERT_TRUE(pumpUntil([&] {
        GListModel* toplevels = gtk_window_get_toplevels();
        for (guint i = 0; i < g_list_model_get_n_items(toplevels); ++i) {
            auto* candidate = GTK_WINDOW(g_list_model_get_item(toplevels, i));
            g_object_unref(candidate);
            if (ADW_IS_MESSAGE_DIALOG(candidate) && gtk_widget_get_mapped(GTK_WIDGET(candidate)))
                alert = candidate;
        }
        return alert != nullptr;
    }));
    EXPECT_STREQ(adw_message_dialog_get_heading(ADW_MESSAGE_DIALOG(alert)), "Quorvane couldn't save these settings.");
    EXPECT_EQ(gtk_window_get_transient_for(alert), window);
    EXPECT_TRUE(gtk_window_get_modal(alert));
    EXPECT_TRUE(gtk_widget_get_visible(root()));
    EXPECT_FALSE(model()->settings().crossfade);
    ASSERT_EQ(environment->system->logLines.size(), 1U);
    EXPECT_EQ(environment->system->logLines[0].rfind("Quorvane: ", 0), 0U);
    gtk_window_destroy(alert);
}

TEST_F(OptionsWindowTest, TheArrangementPlacesDisplaysAsTheyAreArranged) {
    struct Case {
        const char* name;
        std::vector<DisplayInfo> displays;
        std::vector<platform::Rect> expected; // in an area of 620 by 156
    };
    const Case cases[] = {
        // scale = min(580 / 1280, 106 / 800) = 0.1325: 169.6 by 106, centred.
        {"one display", {{"MAIN", "Main", platform::Rect::make(0, 0, 1280, 800)}}, {platform::Rect::make(230.2, 14, 159.6, 106)}},
        // Bounds 3200 by 1400: scale = min(580 / 3200, 106 / 1400) = 106 / 1400; the right display is 400 higher.
        {"two displays",
         {{"LEFT", "Left", platform::Rect::make(0, 0, 1920, 1080)}, {"RIGHT", "Right", platform::Rect::make(1920, 400, 1280, 1000)}},
         {platform::Rect::make(193.86, 38.23, 135.37, 81.77), platform::Rect::make(339.23, 14, 86.91, 75.71)}},
    };
    for (const auto& c : cases) {
        auto model = std::make_shared<OptionsModel>(OptionsWindow::loadCatalog(), Settings(), c.displays);
        open(OptionsWindow::make(OptionsWindow::Presentation::standalone, model));
        for (std::size_t i = 0; i < c.displays.size(); ++i) {
            GtkWidget* tile = find(root(), c.displays[i].name, GTK_TYPE_BUTTON);
            GtkWidget* area = gtk_widget_get_parent(tile);
            ASSERT_EQ(gtk_widget_get_width(area), 620) << c.name;
            graphene_rect_t bounds;
            ASSERT_TRUE(gtk_widget_compute_bounds(tile, area, &bounds));
            // The tile is the screen with a 3-point ring around it.
            EXPECT_NEAR(bounds.origin.x + 3, c.expected[i].minX(), 1) << c.name << " " << i;
            EXPECT_NEAR(bounds.origin.y + 3, c.expected[i].minY(), 1) << c.name << " " << i;
            EXPECT_NEAR(bounds.size.width - 6, c.expected[i].width(), 1) << c.name << " " << i;
        }
        GtkWidget* last = find(root(), c.displays.back().name, GTK_TYPE_BUTTON);
        click(last);
        EXPECT_TRUE(soon([&] { return model->selected() == c.displays.back().id; })) << c.name;
        EXPECT_TRUE(gtk_widget_has_css_class(last, "selected")) << c.name;
    }
}
