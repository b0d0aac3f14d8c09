#include "Saver/OptionsSheet/SceneTile.hpp"

#include "Saver/OptionsSheet/ThumbnailImage.hpp"
#include "Saver/OptionsSheet/ViewSupport.hpp"

namespace orrelith {

namespace {

SceneTile* viewOf(GtkWidget* tile) { return static_cast<SceneTile*>(g_object_get_data(G_OBJECT(tile), "orrelith-view")); }

GtkWidget* titleLabel(const Scene& scene) {
    GtkWidget* title = ViewSupport::label(scene.title, {"orrelith-title"});
    gtk_label_set_xalign(GTK_LABEL(title), 0);
    gtk_label_set_ellipsize(GTK_LABEL(title), PANGO_ELLIPSIZE_END);
    gtk_label_set_single_line_mode(GTK_LABEL(title), TRUE);
    gtk_widget_set_margin_start(title, 3);
    gtk_widget_set_margin_end(title, 3);
    return title;
}

} // namespace

GtkWidget* SceneTile::make(const Scene& scene, bool isOn, SceneGrid::Picking style, std::function<void()> action) {
    GtkWidget* button = gtk_button_new();
    gtk_widget_add_css_class(button, "orrelith-tile");
    gtk_widget_add_css_class(button, "orrelith-scene-tile");
    gtk_widget_set_focusable(button, FALSE);
    auto* view = ViewSupport::adopt(button, new SceneTile(style, std::move(action)));
    view->button_ = button;
    view->thumbnail_ = ThumbnailImage::make(scene.slug, ThumbnailImage::Shape::wide, ThumbnailImage::Loading::onRequest);
    view->badge_ = gtk_image_new_from_icon_name("object-select-symbolic");
    gtk_widget_add_css_class(view->badge_, "orrelith-badge");
    gtk_widget_set_halign(view->badge_, GTK_ALIGN_END);
    gtk_widget_set_valign(view->badge_, GTK_ALIGN_START);

    GtkWidget* overlay = gtk_overlay_new();
    gtk_overlay_set_child(GTK_OVERLAY(overlay), view->thumbnail_);
    gtk_overlay_add_overlay(GTK_OVERLAY(overlay), view->badge_);
    GtkWidget* ring = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_widget_add_css_class(ring, "orrelith-ring");
    gtk_box_append(GTK_BOX(ring), overlay);
    GtkWidget* stack = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    gtk_box_append(GTK_BOX(stack), ring);
    gtk_box_append(GTK_BOX(stack), titleLabel(scene));
    gtk_button_set_child(GTK_BUTTON(button), stack);

    auto described = scene.title + " \u2014 " + scene.subtitle;
    gtk_widget_set_tooltip_text(button, described.c_str());
    ViewSupport::setAccessibleLabel(button, scene.title + ", " + scene.subtitle);
    g_signal_connect(button, "clicked", G_CALLBACK(+[](GtkButton*, gpointer data) {
                         static_cast<SceneTile*>(data)->action_();
                     }),
                     view);
    view->show(isOn);
    return button;
}

void SceneTile::setOn(GtkWidget* tile, bool isOn) {
    if (auto* view = viewOf(tile))
        view->show(isOn);
}

GtkWidget* SceneTile::thumbnail(GtkWidget* tile) {
    auto* view = viewOf(tile);
    return view ? view->thumbnail_ : nullptr;
}

void SceneTile::show(bool isOn) {
    bool pool = style_ == SceneGrid::Picking::pool;
    ViewSupport::setClass(button_, "pinned", !pool && isOn);
    ViewSupport::setClass(button_, "off", pool && !isOn);
    gtk_widget_set_visible(badge_, pool || isOn);
    ViewSupport::setClass(badge_, "on", isOn);
    ViewSupport::setClass(badge_, "off", !isOn);
    gtk_accessible_update_state(GTK_ACCESSIBLE(button_), GTK_ACCESSIBLE_STATE_SELECTED, isOn ? TRUE : FALSE, -1);
}

} // namespace orrelith
