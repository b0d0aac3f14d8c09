#include "Platform/Linux/App/AdwAlert.hpp"

#include <cstdlib>

#include <adwaita.h>

namespace orrelith::platform {

namespace {

struct Answer {
    GMainLoop* loop;
    std::string response;
};

void responded(AdwMessageDialog*, const char* response, gpointer data) {
    auto* answer = static_cast<Answer*>(data);
    answer->response = response ? response : "";
    g_main_loop_quit(answer->loop);
}

gboolean returnPressed(GtkEventControllerKey*, guint key, guint, GdkModifierType, gpointer dialog) {
    if (key != GDK_KEY_Return && key != GDK_KEY_KP_Enter && key != GDK_KEY_ISO_Enter)
        return FALSE;
    adw_message_dialog_response(ADW_MESSAGE_DIALOG(dialog), "0");
    return TRUE;
}

} // namespace

GtkWindow* AdwAlert::parentWindow() {
    GListModel* windows = gtk_window_get_toplevels();
    for (guint i = 0; i < g_list_model_get_n_items(windows); ++i) {
        auto* window = GTK_WINDOW(g_list_model_get_item(windows, i));
        g_object_unref(window);
        if (gtk_widget_get_visible(GTK_WIDGET(window)))
            return window;
    }
    return nullptr;
}

std::size_t AdwAlert::runModal(const AlertContent& content) {
    if (content.buttons.empty())
        return 0;
    adw_init();
    auto* dialog = ADW_MESSAGE_DIALOG(
        adw_message_dialog_new(parentWindow(), content.messageText.c_str(), content.informativeText.c_str()));
    for (std::size_t i = 0; i < content.buttons.size(); ++i)
        adw_message_dialog_add_response(dialog, std::to_string(i).c_str(), content.buttons[i].c_str());
    std::string last = std::to_string(content.buttons.size() - 1);
    adw_message_dialog_set_default_response(dialog, "0");
    adw_message_dialog_set_close_response(dialog, last.c_str());
    // The dialog closes itself once it has answered: held until it is destroyed here.
    g_object_ref(dialog);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    // Window lists and switchers name the alert by its message rather than leaving it untitled.
    gtk_window_set_title(GTK_WINDOW(dialog), content.messageText.c_str());
    Answer answer{g_main_loop_new(nullptr, FALSE), last};
    g_signal_connect(dialog, "response", G_CALLBACK(responded), &answer);
    // Return chooses the default button wherever the keyboard focus is, as Space chooses the focused one.
    GtkEventController* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    g_signal_connect(keys, "key-pressed", G_CALLBACK(returnPressed), dialog);
    gtk_widget_add_controller(GTK_WIDGET(dialog), keys);
    gtk_window_present(GTK_WINDOW(dialog));
    g_main_loop_run(answer.loop);
    g_main_loop_unref(answer.loop);
    gtk_window_destroy(GTK_WINDOW(dialog));
    g_object_unref(dialog);
    std::size_t index = std::strtoul(answer.response.c_str(), nullptr, 10);
    return index < content.buttons.size() ? index : content.buttons.size() - 1;
}

} // namespace orrelith::platform
