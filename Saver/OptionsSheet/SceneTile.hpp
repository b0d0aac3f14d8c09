#pragma once

#include "OrrelithCore/Scene.hpp"
#include "Saver/OptionsSheet/SceneGrid.hpp"

#include <functional>

typedef struct _GtkWidget GtkWidget;

namespace orrelith {

// One scene as a clickable thumbnail with its title. In `one` style the chosen scene has a ring and a
// check badge; in `pool` style every tile has a badge, ticked or empty, and unticked tiles are dimmed. The
// tile reads nothing from the model: the grid tells it whether it is on. Main thread only.
class SceneTile {
public:
    // The still is left to load on request (ThumbnailImage::load on thumbnail()).
    static GtkWidget* make(const Scene& scene, bool isOn, SceneGrid::Picking style, std::function<void()> action);
    static void setOn(GtkWidget* tile, bool isOn);
    static GtkWidget* thumbnail(GtkWidget* tile);

private:
    SceneTile(SceneGrid::Picking style, std::function<void()> action) : style_(style), action_(std::move(action)) {}
    void show(bool isOn);

    SceneGrid::Picking style_;
    std::function<void()> action_;
    GtkWidget* button_ = nullptr;
    GtkWidget* thumbnail_ = nullptr;
    GtkWidget* badge_ = nullptr;
};

} // namespace orrelith
