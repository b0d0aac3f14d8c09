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
// to the selected display or to tick scenes in and out of the shuffle pool. Tiles are made for every
// scene, but a tile's still is decoded only when the tile comes within a screenful of the visible part of
// the scrolling form. Reads and writes only through the model. Main thread only.
class SceneGrid {
public:
    enum class Picking { one, pool };

    // `columns` equal columns, 14 points apart.
    static GtkWidget* make(std::shared_ptr<OptionsModel> model, Picking picking, int columns);
    // The tile of the scene, or null when the grid shows no such scene.
    static GtkWidget* tile(GtkWidget* grid, const std::string& slug);

    ~SceneGrid() { stopWatching(); }
    SceneGrid(const SceneGrid&) = delete;
    SceneGrid& operator=(const SceneGrid&) = delete;

private:
    SceneGrid(std::shared_ptr<OptionsModel> model, Picking picking) : model_(std::move(model)), picking_(picking) {}
    GtkWidget* collection(const std::string& heading, std::int64_t generation, int columns);
    bool isOn(const std::string& slug) const;
    void refresh();
    void watchScrolling();
    void stopWatching();
    void scheduleLoad();
    void loadVisible();

    std::shared_ptr<OptionsModel> model_;
    Picking picking_;
    GtkWidget* box_ = nullptr;
    std::vector<std::pair<std::string, GtkWidget*>> tiles_;
    GtkWidget* scroller_ = nullptr;
    GtkAdjustment* adjustment_ = nullptr;
    unsigned long scrolled_ = 0;
    unsigned long resized_ = 0;
    unsigned pendingLoad_ = 0;
};

} // namespace orrelith
