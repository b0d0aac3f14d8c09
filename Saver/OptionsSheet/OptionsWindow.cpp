#include "Saver/OptionsSheet/OptionsWindow.hpp"

#include "OrrelithCore/SettingsFile.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/System.hpp"
#include "Saver/Displays.hpp"
#include "Saver/OptionsSheet/Brand.hpp"
#include "Saver/OptionsSheet/OptionsView.hpp"
#include "Saver/OptionsSheet/ViewSupport.hpp"
#include "Saver/OptionsStore.hpp"
#include "Saver/SceneWeb.hpp"

#include <fstream>
#include <iterator>
#include <sstream>

namespace orrelith {

namespace {

constexpr const char* modelKey = "orrelith-options-model";

// A weak reference to a window that deferred work and the model's close action can hold.
class WeakWindow {
public:
    explicit WeakWindow(GtkWindow* window) { g_weak_ref_init(&ref_, window); }
    ~WeakWindow() { g_weak_ref_clear(&ref_); }
    WeakWindow(const WeakWindow&) = delete;
    WeakWindow& operator=(const WeakWindow&) = delete;
    // A new reference, or null once the window is gone.
    GtkWindow* get() { return static_cast<GtkWindow*>(g_weak_ref_get(&ref_)); }

private:
    GWeakRef ref_;
};

void showSaveFailure(GtkWindow* window, const std::string& reason) {
    GtkWidget* alert = adw_message_dialog_new(window, "Quorvane couldn't save these settings.", reason.c_str());
    adw_message_dialog_add_response(ADW_MESSAGE_DIALOG(alert), "ok", "OK");
    adw_message_dialog_set_default_response(ADW_MESSAGE_DIALOG(alert), "ok");
    gtk_window_set_modal(GTK_WINDOW(alert), TRUE);
    gtk_window_present(GTK_WINDOW(alert));
}

// Writes the settings; on failure logs it, shows the alert over the window and answers false.
bool save(const OptionsModel& model, GtkWindow* window) {
    try {
        SettingsFile::inSupport(platform::system().homeFolder(), "ORVEX").save(model.settingsToSave());
        return true;
    } catch (const std::exception& error) {
        platform::system().log(std::string(Brand::name) + ": " + error.what());
        showSaveFailure(window, error.what());
        return false;
    }
}

void installClose(const std::shared_ptr<OptionsModel>& model, GtkWindow* window) {
    auto weakWindow = std::make_shared<WeakWindow>(window);
    model->close = [weakWindow, weakModel = std::weak_ptr<OptionsModel>(model)](bool saving) {
        auto model = weakModel.lock();
        GtkWindow* current = weakWindow->get();
        if (model && current && (!saving || save(*model, current)))
            gtk_window_close(current);
        if (current)
            g_object_unref(current);
    };
}

// Return and Escape anywhere in the window, but not while a menu or a list of choices (their own
// surfaces) has the keyboard.
void installKeys(GtkWindow* window) {
    GtkEventController* keys = gtk_shortcut_controller_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    auto add = [&](const char* trigger, bool saving) {
        GtkShortcutFunc press = [](GtkWidget* widget, GVariant*, gpointer data) -> gboolean {
            auto* controller = static_cast<GtkEventController*>(g_object_get_data(G_OBJECT(widget), "orrelith-keys"));
            GdkEvent* event = controller ? gtk_event_controller_get_current_event(controller) : nullptr;
            if (event && gdk_event_get_surface(event) != gtk_native_get_surface(GTK_NATIVE(widget)))
                return FALSE;
            if (auto model = OptionsWindow::model(GTK_WINDOW(widget)))
                model->close(GPOINTER_TO_INT(data) != 0);
            return TRUE;
        };
        GtkShortcut* shortcut = gtk_shortcut_new(gtk_shortcut_trigger_parse_string(trigger),
                                                 gtk_callback_action_new(press, GINT_TO_POINTER(saving ? 1 : 0), nullptr));
        gtk_shortcut_controller_add_shortcut(GTK_SHORTCUT_CONTROLLER(keys), shortcut);
    };
    add("Return|KP_Enter|ISO_Enter", true);
    add("Escape", false);
    g_object_set_data(G_OBJECT(window), "orrelith-keys", keys);
    gtk_widget_add_controller(GTK_WIDGET(window), keys);
}

} // namespace

Catalog OptionsWindow::loadCatalog() {
    auto path = SceneWeb::catalogURL();
    if (!path)
        return {};
    std::ifstream stream(*path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(stream), {}};
    try {
        return stream ? Catalog::decode(text) : Catalog{};
    } catch (const DecodingError&) {
        return {};
    }
}

GtkWindow* OptionsWindow::make(Presentation presentation, std::optional<Settings> initial,
                               std::function<void()> checkForUpdates) {
    auto settings = initial ? std::move(*initial) : OptionsStore::load();
    auto model = std::make_shared<OptionsModel>(loadCatalog(), std::move(settings), Displays::current());
    model->checkForUpdates = std::move(checkForUpdates);
    return make(presentation, std::move(model));
}

GtkWindow* OptionsWindow::make(Presentation presentation, std::shared_ptr<OptionsModel> model) {
    adw_init();
    GtkWidget* window = adw_window_new();
    gtk_window_set_title(GTK_WINDOW(window), std::string(Brand::name).c_str());
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_hide_on_close(GTK_WINDOW(window), TRUE);
    gtk_window_set_deletable(GTK_WINDOW(window), presentation == Presentation::standalone);
    g_object_set_data_full(G_OBJECT(window), modelKey, new std::shared_ptr<OptionsModel>(model),
                           [](gpointer data) { delete static_cast<std::shared_ptr<OptionsModel>*>(data); });
    installClose(model, GTK_WINDOW(window));
    GtkWidget* titleBar = adw_header_bar_new();
    gtk_widget_add_css_class(titleBar, "flat");
    adw_header_bar_set_show_end_title_buttons(ADW_HEADER_BAR(titleBar), presentation == Presentation::standalone);
    GtkWidget* content = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_append(GTK_BOX(content), titleBar);
    gtk_box_append(GTK_BOX(content), OptionsView::make(model));
    adw_window_set_content(ADW_WINDOW(window), content);
    installKeys(GTK_WINDOW(window));
    return GTK_WINDOW(window);
}

std::shared_ptr<OptionsModel> OptionsWindow::model(GtkWindow* window) {
    auto* held = static_cast<std::shared_ptr<OptionsModel>*>(g_object_get_data(G_OBJECT(window), modelKey));
    return held ? *held : nullptr;
}

void OptionsWindow::present(GtkWindow* window) { gtk_window_present(window); }

void OptionsWindow::onHidden(GtkWindow* window, std::function<void()> hidden) {
    ViewSupport::on(window, "hide", std::move(hidden));
}

} // namespace orrelith
