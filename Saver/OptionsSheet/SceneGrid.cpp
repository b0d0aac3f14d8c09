#include "Saver/OptionsSheet/SceneGrid.hpp"

#include "Saver/OptionsSheet/Brand.hpp"
#include "Saver/OptionsSheet/SceneTile.hpp"
#include "Saver/OptionsSheet/ThumbnailImage.hpp"
#include "Saver/OptionsSheet/ViewSupport.hpp"

#include <algorithm>

namespace orrelith {

namespace {

SceneGrid* viewOf(GtkWidget* grid) { return static_cast<SceneGrid*>(g_object_get_data(G_OBJECT(grid), "orrelith-view")); }

} // namespace

GtkWidget* SceneGrid::make(std::shared_ptr<OptionsModel> model, Picking picking, int columns) {
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
    gtk_widget_set_margin_top(box, 6);
    gtk_widget_set_margin_bottom(box, 6);
    auto* view = ViewSupport::adopt(box, new SceneGrid(model, picking));
    view->box_ = box;
    for (const auto& [generation, heading] : Brand::collections)
        gtk_box_append(GTK_BOX(box), view->collection(std::string(heading), generation, columns));
    ViewSupport::observe(model, box, [view](OptionsChange change) {
        if (change != OptionsChange::choosingPool)
            view->refresh();
    });
    g_signal_connect(box, "map", G_CALLBACK(+[](GtkWidget*, gpointer data) { static_cast<SceneGrid*>(data)->watchScrolling(); }), view);
    g_signal_connect(box, "unmap", G_CALLBACK(+[](GtkWidget*, gpointer data) { static_cast<SceneGrid*>(data)->stopWatching(); }), view);
    return box;
}

GtkWidget* SceneGrid::tile(GtkWidget* grid, const std::string& slug) {
    auto* view = viewOf(grid);
    if (!view)
        return nullptr;
    auto found = std::find_if(view->tiles_.begin(), view->tiles_.end(), [&](const auto& entry) { return entry.first == slug; });
    return found == view->tiles_.end() ? nullptr : found->second;
}

GtkWidget* SceneGrid::collection(const std::string& heading, std::int64_t generation, int columns) {
    GtkWidget* section = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
    GtkWidget* title = ViewSupport::label(heading, {"heading", "dim-label"});
    gtk_label_set_xalign(GTK_LABEL(title), 0);
    gtk_widget_set_margin_top(title, generation == 1 ? 0 : 6);
    gtk_box_append(GTK_BOX(section), title);
    GtkWidget* grid = gtk_grid_new();
    gtk_grid_set_column_homogeneous(GTK_GRID(grid), TRUE);
    gtk_grid_set_column_spacing(GTK_GRID(grid), 14);
    gtk_grid_set_row_spacing(GTK_GRID(grid), 14);
    int placed = 0;
    for (const auto& scene : model_->catalog().scenes) {
        if (scene.generation != generation)
            continue;
        auto slug = scene.slug;
        auto weakModel = std::weak_ptr<OptionsModel>(model_);
        auto picking = picking_;
        GtkWidget* tile = SceneTile::make(scene, isOn(slug), picking_, [weakModel, picking, slug] {
            auto model = weakModel.lock();
            if (!model)
                return;
            if (picking == Picking::one)
                model->pin(slug);
            else
                model->togglePool(slug);
        });
        gtk_widget_set_valign(tile, GTK_ALIGN_START);
        gtk_widget_set_hexpand(tile, TRUE);
        gtk_grid_attach(GTK_GRID(grid), tile, placed % columns, placed / columns, 1, 1);
        tiles_.emplace_back(slug, tile);
        ++placed;
    }
    // Empty cells keep a short last row, and a small group, in the same columns as a full one.
    for (int column = placed; column < columns; ++column)
        gtk_grid_attach(GTK_GRID(grid), gtk_box_new(GTK_ORIENTATION_VERTICAL, 0), column, 0, 1, 1);
    gtk_widget_set_visible(grid, placed > 0);
    gtk_box_append(GTK_BOX(section), grid);
    return section;
}

bool SceneGrid::isOn(const std::string& slug) const {
    if (picking_ == Picking::one)
        return model_->pinned() == slug;
    auto pool = model_->settings().pool(model_->catalog());
    return std::find(pool.begin(), pool.end(), slug) != pool.end();
}

void SceneGrid::refresh() {
    for (const auto& [slug, tile] : tiles_)
        SceneTile::setOn(tile, isOn(slug));
}

void SceneGrid::watchScrolling() {
    stopWatching();
    scroller_ = gtk_widget_get_ancestor(box_, GTK_TYPE_SCROLLED_WINDOW);
    if (!scroller_)
        return;
    adjustment_ = GTK_ADJUSTMENT(g_object_ref(gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(scroller_))));
    auto onChange = G_CALLBACK(+[](GtkAdjustment*, gpointer data) { static_cast<SceneGrid*>(data)->scheduleLoad(); });
    scrolled_ = g_signal_connect(adjustment_, "value-changed", onChange, this);
    resized_ = g_signal_connect(adjustment_, "changed", onChange, this);
    // The first layout after mapping may leave the adjustment as it was.
    scheduleLoad();
}

// Loading a still changes a picture, which must not happen while the form is being laid out (the
// adjustment changes during layout): the stills are loaded on a later turn.
void SceneGrid::scheduleLoad() {
    if (pendingLoad_)
        return;
    pendingLoad_ = g_idle_add_full(
        G_PRIORITY_DEFAULT_IDLE,
        [](gpointer data) -> gboolean {
            auto* view = static_cast<SceneGrid*>(data);
            view->pendingLoad_ = 0;
            view->loadVisible();
            return G_SOURCE_REMOVE;
        },
        this, nullptr);
}

void SceneGrid::stopWatching() {
    if (pendingLoad_)
        g_source_remove(pendingLoad_);
    pendingLoad_ = 0;
    if (adjustment_) {
        g_signal_handler_disconnect(adjustment_, scrolled_);
        g_signal_handler_disconnect(adjustment_, resized_);
        g_object_unref(adjustment_);
    }
    adjustment_ = nullptr;
    scroller_ = nullptr;
}

void SceneGrid::loadVisible() {
    if (!scroller_)
        return;
    double height = gtk_widget_get_height(scroller_);
    for (const auto& [slug, tile] : tiles_) {
        GtkWidget* thumbnail = SceneTile::thumbnail(tile);
        graphene_rect_t bounds;
        if (ThumbnailImage::isLoaded(thumbnail) || !gtk_widget_get_mapped(tile) || gtk_widget_get_width(tile) == 0 ||
            !gtk_widget_compute_bounds(tile, scroller_, &bounds))
            continue;
        // A screenful ahead either way, so that scrolling rarely shows a still arriving.
        if (bounds.origin.y < 2 * height && bounds.origin.y + bounds.size.height > -height)
            ThumbnailImage::load(thumbnail);
    }
}

} // namespace orrelith
