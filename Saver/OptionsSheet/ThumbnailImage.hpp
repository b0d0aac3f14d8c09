#pragma once

#include <optional>
#include <string>

#include <gio/gio.h>

#include <deque>
#include <filesystem>

typedef struct _GtkWidget GtkWidget;

namespace orrelith::platform {
class Image;
}

namespace orrelith {

// The still image of a scene, scaled to fill its space and clipped to it; plain black when there is no
// slug or no still. Images come from SceneThumbnails' process-wide cache, so a still is decoded once; one
// not decoded yet is decoded on a worker thread and shows on a later turn of the main loop. Main thread
// only.
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
    // Stills being decoded on a worker thread, for tools that wait until every still shows.
    static std::size_t stillsPending() { return waiting_.size() + (decoding_ ? 1 : 0); }

private:
    // What a worker decodes, and the thumbnail that waits for it (gone if the window closed meanwhile).
    struct StillRequest {
        std::string slug;
        std::filesystem::path path;
        GWeakRef thumbnail;
    };

    static void decodeStill(GTask* task, gpointer source, gpointer data, GCancellable* cancellable);
    static void stillDecoded(GObject* source, GAsyncResult* result, gpointer data);
    void show(const platform::Image& image);

    static void decodeNext();
    static void forget(gpointer request);

    static inline std::deque<StillRequest*> waiting_;
    static inline bool decoding_ = false;
    static inline bool startScheduled_ = false;

    ThumbnailImage(std::optional<std::string> slug, GtkWidget* picture) : slug_(std::move(slug)), picture_(picture) {}

    std::optional<std::string> slug_;
    GtkWidget* picture_;
    bool loaded_ = false;
};

} // namespace orrelith
