#pragma once

#include "Saver/OptionsSheet/OptionsModel.hpp"

#include <memory>
#include <string>
#include <utility>
#include <vector>

typedef struct _GtkWidget GtkWidget;
typedef struct _GtkAdjustment GtkAdjustment;

namespace orrelith {

// Every scene of the catalog as a tile, grouped under the collections' headings, either to pin one scene
// to the selected display or to tick scenes in and out of the shuffle pool. Lazy: a scene starts as an
// empty cell the size of a tile, and its tile is made (and its still decoded) only when the cell comes
// within a screenful of the visible part of the scrolling form. Reads and writes only through the model.
// Main thread only.
class SceneGrid {
public:
    enum class Picking { one, pool };

    // `columns` equal columns, 14 points apart.
    static GtkWidget* make(std::shared_ptr<OptionsModel> model, Picking picking, int columns);
    // The scene's tile, or its empty cell while the tile is not made yet; null when the grid shows no such
    // scene.
    static GtkWidget* tile(GtkWidget* grid, const std::string& slug);

    ~SceneGrid() { stopWatching(); }
    SceneGrid(const SceneGrid&) = delete;
    SceneGrid& operator=(const SceneGrid&) = delete;

private:
    struct Cell {
        Scene scene;
        GtkWidget* grid;
        int column;
        int row;
        GtkWidget* widget;
        bool built;
        bool on;
    };

    SceneGrid(std::shared_ptr<OptionsModel> model, Picking picking) : model_(std::move(model)), picking_(picking) {}
    GtkWidget* collection(const std::string& heading, std::int64_t generation, int columns);
    GtkWidget* placeholder();
    void build(Cell& cell);
    std::vector<std::string> onSlugs() const;
    void refresh();
    void watchScrolling();
    void stopWatching();
    void scheduleLoad();
    void buildVisible();

    std::shared_ptr<OptionsModel> model_;
    Picking picking_;
    GtkWidget* box_ = nullptr;
    std::vector<Cell> cells_;
    // The first tile made: empty cells measure as it does.
    GtkWidget* reference_ = nullptr;
    GtkWidget* scroller_ = nullptr;
    GtkAdjustment* adjustment_ = nullptr;
    unsigned long scrolled_ = 0;
    unsigned long resized_ = 0;
    unsigned pendingLoad_ = 0;
};

} // namespace orrelith
