#pragma once

#include <optional>
#include <string>

typedef struct _GtkWidget GtkWidget;

namespace orrelith {

// The still image of a scene, scaled to fill its space and clipped to it; plain black when there is no
// slug or no still. Images come from SceneThumbnails' process-wide cache, so a still is decoded once. Main
// thread only.
class ThumbnailImage {
public:
    // `wide`: the height follows the width at 1.6 to 1. `fill`: takes whatever space it is given.
    enum class Shape { wide, fill };
    enum class Loading { now, onRequest };

    // The widget; with Loading::onRequest it stays black until load() is called for it.
    static GtkWidget* make(std::optional<std::string> slug, Shape shape, Loading loading);
    // Shows the still if it is not shown yet. Safe to call again.
    static void load(GtkWidget* thumbnail);
    static bool isLoaded(GtkWidget* thumbnail);

private:
    ThumbnailImage(std::optional<std::string> slug, GtkWidget* picture) : slug_(std::move(slug)), picture_(picture) {}

    std::optional<std::string> slug_;
    GtkWidget* picture_;
    bool loaded_ = false;
};

} // namespace orrelith
