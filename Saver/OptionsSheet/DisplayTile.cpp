#include "Saver/OptionsSheet/DisplayTile.hpp"

#include "Saver/OptionsSheet/ThumbnailImage.hpp"
#include "Saver/OptionsSheet/ViewSupport.hpp"

#include <algorithm>
#include <cmath>

namespace orrelith {

namespace {

DisplayTile* viewOf(GtkWidget* tile) { return static_cast<DisplayTile*>(g_object_get_data(G_OBJECT(tile), "orrelith-view")); }

GtkWidget* cell(const std::vector<std::string>& mosaic, std::size_t index) {
    auto slug = index < mosaic.size() ? std::optional(mosaic[index]) : std::nullopt;
    return ThumbnailImage::make(slug, ThumbnailImage::Shape::fill, ThumbnailImage::Loading::now);
}

} // namespace

GtkWidget* DisplayTile::make(std::shared_ptr<OptionsModel> model, DisplayInfo display) {
    GtkWidget* button = gtk_button_new();
    gtk_widget_add_css_class(button, "orrelith-tile");
    gtk_widget_add_css_class(button, "orrelith-display-tile");
    gtk_widget_set_focusable(button, FALSE);
    auto* view = ViewSupport::adopt(button, new DisplayTile(model, std::move(display)));
    view->button_ = button;
    view->ring_ = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_widget_add_css_class(view->ring_, "orrelith-ring");
    gtk_widget_set_vexpand(view->ring_, TRUE);
    view->name_ = ViewSupport::label(view->display_.name, {"caption"});
    gtk_label_set_ellipsize(GTK_LABEL(view->name_), PANGO_ELLIPSIZE_END);
    gtk_label_set_single_line_mode(GTK_LABEL(view->name_), TRUE);
    GtkWidget* stack = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    gtk_box_append(GTK_BOX(stack), view->ring_);
    gtk_box_append(GTK_BOX(stack), view->name_);
    gtk_button_set_child(GTK_BUTTON(button), stack);
    g_signal_connect(button, "clicked", G_CALLBACK(+[](GtkButton*, gpointer data) {
                         auto* tile = static_cast<DisplayTile*>(data);
                         tile->model_->setSelected(tile->display_.id);
                         tile->model_->setChoosingPool(false);
                     }),
                     view);
    ViewSupport::observe(model, button, [view](OptionsChange) { view->refresh(); });
    view->refresh();
    return button;
}

std::string DisplayTile::caption(const OptionsModel& model, const std::string& displayKey) {
    auto mode = model.settings().mode(displayKey, model.catalog());
    if (mode.isShuffle())
        return "Shuffle";
    const Scene* scene = model.catalog().scene(mode.slug());
    return scene ? scene->title : mode.slug();
}

void DisplayTile::setScreenHeight(GtkWidget* tile, double height) {
    auto* view = viewOf(tile);
    if (!view)
        return;
    view->symbolSize_ = int(std::lround(std::max(height / 5.5, 11.0)));
    if (view->symbol_ && gtk_image_get_pixel_size(GTK_IMAGE(view->symbol_)) != view->symbolSize_)
        gtk_image_set_pixel_size(GTK_IMAGE(view->symbol_), view->symbolSize_);
}

void DisplayTile::refresh() {
    bool selected = model_->selected() == display_.id;
    ViewSupport::setClass(button_, "selected", selected);
    ViewSupport::setClass(name_, "caption-heading", selected);
    ViewSupport::setClass(name_, "caption", !selected);
    ViewSupport::setClass(name_, "dim-label", !selected);
    ViewSupport::setAccessibleLabel(button_, display_.name + ", " + caption(*model_, display_.id));
    auto mode = model_->settings().mode(display_.id, model_->catalog());
    // A fixed display is shown by its one slug, a shuffling one by its four; rebuild only when that changes.
    auto shown = mode.isFixed() ? std::vector<std::string>{"fixed", mode.slug()} : model_->mosaic(display_.id);
    if (screen_ && shown == shown_)
        return;
    shown_ = shown;
    if (screen_)
        gtk_box_remove(GTK_BOX(ring_), screen_);
    symbol_ = nullptr;
    screen_ = mode.isFixed() ? ThumbnailImage::make(mode.slug(), ThumbnailImage::Shape::fill, ThumbnailImage::Loading::now)
                             : mosaicScreen();
    gtk_widget_add_css_class(screen_, "orrelith-screen");
    gtk_widget_set_overflow(screen_, GTK_OVERFLOW_HIDDEN);
    gtk_widget_set_vexpand(screen_, TRUE);
    gtk_box_append(GTK_BOX(ring_), screen_);
}

// The shuffle mosaic: four stills two by two, darkened, under the shuffle symbol on a dark disc.
GtkWidget* DisplayTile::mosaicScreen() {
    auto mosaic = model_->mosaic(display_.id);
    GtkWidget* grid = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(grid), 1);
    gtk_grid_set_column_spacing(GTK_GRID(grid), 1);
    gtk_grid_set_row_homogeneous(GTK_GRID(grid), TRUE);
    gtk_grid_set_column_homogeneous(GTK_GRID(grid), TRUE);
    for (std::size_t index = 0; index < 4; ++index)
        gtk_grid_attach(GTK_GRID(grid), cell(mosaic, index), int(index % 2), int(index / 2), 1, 1);
    GtkWidget* overlay = gtk_overlay_new();
    gtk_widget_add_css_class(overlay, "orrelith-mosaic");
    gtk_overlay_set_child(GTK_OVERLAY(overlay), grid);
    symbol_ = gtk_image_new_from_icon_name("media-playlist-shuffle-symbolic");
    gtk_image_set_pixel_size(GTK_IMAGE(symbol_), symbolSize_);
    gtk_widget_add_css_class(symbol_, "orrelith-shuffle-badge");
    gtk_widget_set_halign(symbol_, GTK_ALIGN_CENTER);
    gtk_widget_set_valign(symbol_, GTK_ALIGN_CENTER);
    gtk_overlay_add_overlay(GTK_OVERLAY(overlay), symbol_);
    return overlay;
}

} // namespace orrelith
