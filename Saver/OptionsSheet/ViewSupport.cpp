#include "Saver/OptionsSheet/ViewSupport.hpp"

namespace orrelith {

namespace {

// Sizes in points. The tiles' rings and dimming, the arrangement's backdrop and the header's logo.
constexpr const char* styleSheet = R"css(
.orrelith-logo {
  min-width: 38px; min-height: 38px; border-radius: 9px; color: white;
  background-image: linear-gradient(to bottom, rgb(255, 156, 26), rgb(214, 92, 26));
}
.orrelith-arrangement { background-color: alpha(@window_fg_color, 0.045); border-radius: 12px; }
.orrelith-tile label { font-weight: normal; }
.orrelith-display-tile label.caption-heading { font-weight: bold; }
.orrelith-tile { padding: 0; margin: 0; min-height: 0; min-width: 0; background: none; box-shadow: none; border: none; }
.orrelith-ring { padding: 3px; border-radius: 6px; }
.orrelith-display-tile.selected .orrelith-ring { box-shadow: inset 0 0 0 3px @accent_color; }
.orrelith-screen { border-radius: 3px; background-color: black;
  outline: 1px solid alpha(@window_fg_color, 0.2); outline-offset: -1px; }
.orrelith-mosaic > grid { filter: brightness(0.72); }
.orrelith-shuffle-badge { color: white; background-color: alpha(black, 0.35); border-radius: 999px; padding: 6px; }
.orrelith-scene-tile .orrelith-ring { border-radius: 9px; }
.orrelith-scene-tile.pinned .orrelith-ring { box-shadow: inset 0 0 0 3px @accent_color; }
.orrelith-thumbnail { border-radius: 6px; background-color: black;
  outline: 1px solid alpha(@window_fg_color, 0.15); outline-offset: -1px; transition: filter 120ms ease-out; }
.orrelith-scene-tile:hover .orrelith-thumbnail { filter: brightness(1.04); }
.orrelith-scene-tile.off .orrelith-thumbnail { opacity: 0.4; }
.orrelith-scene-tile.off .orrelith-title { opacity: 0.55; }
.orrelith-badge { margin: 9px; min-width: 17px; min-height: 17px; padding: 1px; border-radius: 999px;
  -gtk-icon-size: 13px; box-shadow: 0 1px 2px alpha(black, 0.4); }
.orrelith-badge.on { color: white; background-color: @accent_bg_color; }
.orrelith-badge.off { color: transparent; background-color: alpha(black, 0.3); box-shadow: inset 0 0 0 2px white, 0 1px 2px alpha(black, 0.4); }
/* Adwaita's buttons are wider than this fixed-width window's footer row allows. */
.orrelith-footer > button { padding-left: 8px; padding-right: 8px; }
)css";

} // namespace

void ViewSupport::observe(const std::shared_ptr<OptionsModel>& model, GtkWidget* widget,
                          std::function<void(OptionsChange)> changed) {
    using Observation = std::pair<std::shared_ptr<OptionsModel>, OptionsModel::ObserverID>;
    // The connection holds the model, so removing the observer is always safe.
    auto* observation = new Observation(model, model->addObserver(std::move(changed)));
    g_signal_connect_data(
        widget, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer data) {
            auto* entry = static_cast<Observation*>(data);
            entry->first->removeObserver(entry->second);
        }),
        observation, [](gpointer data, GClosure*) { delete static_cast<Observation*>(data); }, GConnectFlags(0));
}

void ViewSupport::installStyle() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, styleSheet, -1);
    gtk_style_context_add_provider_for_display(gdk_display_get_default(), GTK_STYLE_PROVIDER(provider),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

GtkWidget* ViewSupport::label(const std::string& text, std::initializer_list<const char*> classes) {
    GtkWidget* label = gtk_label_new(text.c_str());
    for (const char* name : classes)
        gtk_widget_add_css_class(label, name);
    return label;
}

void ViewSupport::setClass(GtkWidget* widget, const char* name, bool on) {
    if (on)
        gtk_widget_add_css_class(widget, name);
    else
        gtk_widget_remove_css_class(widget, name);
}

namespace {

void freeAction(gpointer data, GClosure*) { delete static_cast<std::function<void()>*>(data); }

} // namespace

void ViewSupport::on(gpointer instance, const char* signal, std::function<void()> action) {
    g_signal_connect_data(instance, signal,
                          G_CALLBACK(+[](gpointer, gpointer data) { (*static_cast<std::function<void()>*>(data))(); }),
                          new std::function<void()>(std::move(action)), freeAction, GConnectFlags(0));
}

void ViewSupport::onNotify(gpointer instance, const char* property, std::function<void()> action) {
    auto signal = std::string("notify::") + property;
    g_signal_connect_data(instance, signal.c_str(),
                          G_CALLBACK(+[](gpointer, GParamSpec*, gpointer data) {
                              (*static_cast<std::function<void()>*>(data))();
                          }),
                          new std::function<void()>(std::move(action)), freeAction, GConnectFlags(0));
}

void ViewSupport::setAccessibleLabel(GtkWidget* widget, const std::string& text) {
    gtk_accessible_update_property(GTK_ACCESSIBLE(widget), GTK_ACCESSIBLE_PROPERTY_LABEL, text.c_str(), -1);
}

} // namespace orrelith
