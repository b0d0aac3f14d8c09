#include "Saver/OptionsSheet/SceneGrid.hpp"

#include "Saver/OptionsSheet/Brand.hpp"
#include "Saver/OptionsSheet/SceneTile.hpp"
#include "Saver/OptionsSheet/ThumbnailImage.hpp"
#include "Saver/OptionsSheet/ViewSupport.hpp"

#include <algorithm>

namespace orrelith {

namespace {

SceneGrid* viewOf(GtkWidget* grid) { return static_cast<SceneGrid*>(g_object_get_data(G_OBJECT(grid), "orrelith-view")); }

// An empty cell is as high as the grid's first tile is for the same width.
void measureCell(GtkWidget* cell, GtkOrientation orientation, int forSize, int* minimum, int* natural,
                 int* minimumBaseline, int* naturalBaseline) {
    auto* reference = static_cast<GtkWidget*>(g_object_get_data(G_OBJECT(cell), "orrelith-reference"));
    *minimum = *natural = 0;
    *minimumBaseline = *naturalBaseline = -1;
    if (reference && orientation == GTK_ORIENTATION_VERTICAL)
        gtk_widget_measure(reference, orientation, forSize, minimum, natural, nullptr, nullptr);
}

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
    auto found = std::find_if(view->cells_.begin(), view->cells_.end(), [&](const Cell& cell) { return cell.scene.slug == slug; });
    return found == view->cells_.end() ? nullptr : found->widget;
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
        cells_.push_back(Cell{scene, grid, placed % columns, placed / columns, nullptr, false, false});
        if (!reference_) {
            build(cells_.back());
            reference_ = cells_.back().widget;
        } else {
            cells_.back().widget = placeholder();
            gtk_grid_attach(GTK_GRID(grid), cells_.back().widget, placed % columns, placed / columns, 1, 1);
        }
        ++placed;
    }
    // Empty cells keep a short last row, and a small group, in the same columns as a full one.
    for (int column = placed; column < columns; ++column)
        gtk_grid_attach(GTK_GRID(grid), gtk_box_new(GTK_ORIENTATION_VERTICAL, 0), column, 0, 1, 1);
    gtk_widget_set_visible(grid, placed > 0);
    gtk_box_append(GTK_BOX(section), grid);
    return section;
}

GtkWidget* SceneGrid::placeholder() {
    GtkWidget* cell = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_widget_set_hexpand(cell, TRUE);
    gtk_widget_set_valign(cell, GTK_ALIGN_START);
    // The reference tile is made before any empty cell and lives in the same grid.
    g_object_set_data(G_OBJECT(cell), "orrelith-reference", reference_);
    gtk_widget_set_layout_manager(cell, gtk_custom_layout_new([](GtkWidget*) { return GTK_SIZE_REQUEST_HEIGHT_FOR_WIDTH; },
                                                              measureCell, [](GtkWidget*, int, int, int) {}));
    return cell;
}

void SceneGrid::build(Cell& cell) {
    auto slug = cell.scene.slug;
    auto weakModel = std::weak_ptr<OptionsModel>(model_);
    auto picking = picking_;
    auto on = onSlugs();
    cell.on = std::find(on.begin(), on.end(), slug) != on.end();
    GtkWidget* tile = SceneTile::make(cell.scene, cell.on, picking_, [weakModel, picking, slug] {
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
    if (cell.widget)
        gtk_grid_remove(GTK_GRID(cell.grid), cell.widget);
    gtk_grid_attach(GTK_GRID(cell.grid), tile, cell.column, cell.row, 1, 1);
    cell.widget = tile;
    cell.built = true;
}

// The slugs whose tiles are on: the pinned one, or the pool's.
std::vector<std::string> SceneGrid::onSlugs() const {
    if (picking_ == Picking::pool)
        return model_->settings().pool(model_->catalog());
    auto pinned = model_->pinned();
    return pinned ? std::vector<std::string>{*pinned} : std::vector<std::string>{};
}

void SceneGrid::refresh() {
    auto on = onSlugs();
    std::sort(on.begin(), on.end());
    for (auto& cell : cells_) {
        bool isOn = std::binary_search(on.begin(), on.end(), cell.scene.slug);
        if (cell.built && isOn != cell.on)
            SceneTile::setOn(cell.widget, isOn);
        cell.on = isOn;
    }
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
            view->buildVisible();
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

void SceneGrid::buildVisible() {
    if (!scroller_)
        return;
    double height = gtk_widget_get_height(scroller_);
    for (auto& cell : cells_) {
        graphene_rect_t bounds;
        if ((cell.built && ThumbnailImage::isLoaded(SceneTile::thumbnail(cell.widget))) || !gtk_widget_get_mapped(cell.widget) ||
            gtk_widget_get_width(cell.widget) == 0 || !gtk_widget_compute_bounds(cell.widget, scroller_, &bounds))
            continue;
        // A screenful ahead either way, so that scrolling rarely shows a tile arriving.
        if (bounds.origin.y >= 2 * height || bounds.origin.y + bounds.size.height <= -height)
            continue;
        if (!cell.built)
            build(cell);
        ThumbnailImage::load(SceneTile::thumbnail(cell.widget));
    }
}

} // namespace orrelith
