#include "Platform/Linux/Views/GtkButtonBackend.hpp"

#include "Platform/Linux/System/GlibSources.hpp"

namespace orrelith::platform {

GtkButtonBackend::GtkButtonBackend() : GtkViewBackendOf(gtk_button_new()) {
    button_ = GTK_BUTTON(gtk_widget_get_first_child(widget()));
    g_signal_connect(button_, "clicked", G_CALLBACK(clicked), this);
}

GtkButtonBackend::~GtkButtonBackend() { g_signal_handlers_disconnect_by_data(button_, this); }

void GtkButtonBackend::setTitle(const std::string& title) { gtk_button_set_label(button_, title.c_str()); }

void GtkButtonBackend::setKeyEquivalent(KeyEquivalent key) {
    if (shortcuts_) {
        gtk_widget_remove_controller(GTK_WIDGET(button_), shortcuts_);
        shortcuts_ = nullptr;
    }
    if (key != KeyEquivalent::Return)
        return;
    shortcuts_ = gtk_shortcut_controller_new();
    gtk_shortcut_controller_set_scope(GTK_SHORTCUT_CONTROLLER(shortcuts_), GTK_SHORTCUT_SCOPE_GLOBAL);
    for (guint keyval : {GDK_KEY_Return, GDK_KEY_KP_Enter})
        gtk_shortcut_controller_add_shortcut(GTK_SHORTCUT_CONTROLLER(shortcuts_),
                                             gtk_shortcut_new(gtk_keyval_trigger_new(keyval, GdkModifierType(0)),
                                                              g_object_ref(gtk_activate_action_get())));
    gtk_widget_add_controller(GTK_WIDGET(button_), shortcuts_);
    gtk_widget_add_css_class(GTK_WIDGET(button_), "suggested-action");
}

Size GtkButtonBackend::fittingSize() const {
    int width = 0;
    int height = 0;
    gtk_widget_measure(GTK_WIDGET(button_), GTK_ORIENTATION_HORIZONTAL, -1, nullptr, &width, nullptr, nullptr);
    gtk_widget_measure(GTK_WIDGET(button_), GTK_ORIENTATION_VERTICAL, width, nullptr, &height, nullptr, nullptr);
    return {static_cast<double>(width), static_cast<double>(height)};
}

void GtkButtonBackend::clicked(GtkButton*, gpointer self) {
    auto action = static_cast<GtkButtonBackend*>(self)->action_;
    if (action)
        glib::runGuarded(action, "button action");
}

} // namespace orrelith::platform
