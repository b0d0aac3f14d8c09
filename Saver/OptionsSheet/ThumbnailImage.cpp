#include "Saver/OptionsSheet/ThumbnailImage.hpp"

#include "Platform/Linux/Views/GtkImageViewBackend.hpp"
#include "Saver/OptionsSheet/ViewSupport.hpp"
#include "Saver/SceneThumbnails.hpp"

namespace orrelith {

namespace {

constexpr double wideAspect = 1.6;

GtkSizeRequestMode heightForWidth(GtkWidget*) { return GTK_SIZE_REQUEST_HEIGHT_FOR_WIDTH; }

// As wide as it is given, and 1.6 times less high, whatever the still's own shape.
void measureWide(GtkWidget*, GtkOrientation orientation, int forSize, int* minimum, int* natural,
                 int* minimumBaseline, int* naturalBaseline) {
    *minimum = *natural = orientation == GTK_ORIENTATION_VERTICAL && forSize > 0 ? int(forSize / wideAspect) : 0;
    *minimumBaseline = *naturalBaseline = -1;
}

void allocateChild(GtkWidget* widget, int width, int height, int baseline) {
    if (GtkWidget* child = gtk_widget_get_first_child(widget))
        gtk_widget_allocate(child, width, height, baseline, nullptr);
}

GtkWidget* coverPicture(GdkPaintable* paintable) {
    GtkWidget* picture = gtk_picture_new_for_paintable(paintable);
    gtk_picture_set_can_shrink(GTK_PICTURE(picture), TRUE);
    gtk_picture_set_content_fit(GTK_PICTURE(picture), GTK_CONTENT_FIT_COVER);
    return picture;
}

ThumbnailImage* viewOf(GtkWidget* thumbnail) {
    return static_cast<ThumbnailImage*>(g_object_get_data(G_OBJECT(thumbnail), "orrelith-view"));
}

} // namespace

GtkWidget* ThumbnailImage::make(std::optional<std::string> slug, Shape shape, Loading loading) {
    GtkWidget* frame = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_widget_add_css_class(frame, "orrelith-thumbnail");
    gtk_widget_set_overflow(frame, GTK_OVERFLOW_HIDDEN);
    if (shape == Shape::wide)
        gtk_widget_set_layout_manager(frame, gtk_custom_layout_new(heightForWidth, measureWide, allocateChild));
    GtkWidget* picture = coverPicture(nullptr);
    gtk_widget_set_hexpand(picture, TRUE);
    gtk_widget_set_vexpand(picture, TRUE);
    gtk_box_append(GTK_BOX(frame), picture);
    ViewSupport::adopt(frame, new ThumbnailImage(std::move(slug), picture));
    if (loading == Loading::now)
        load(frame);
    return frame;
}

void ThumbnailImage::load(GtkWidget* thumbnail) {
    auto* view = viewOf(thumbnail);
    if (!view || view->loaded_)
        return;
    view->loaded_ = true;
    if (!view->slug_)
        return;
    if (auto image = SceneThumbnails::cached(*view->slug_))
        return view->show(*image);
    auto path = SceneThumbnails::stillPath(*view->slug_);
    if (!path)
        return;
    // Decoding a still takes a few milliseconds: done on a worker thread, a window full of them opens
    // as fast as an empty one and each still appears once it is ready. One at a time, so that the
    // decoding never takes more than one core from the window.
    auto* request = new StillRequest{*view->slug_, *path, {}};
    g_weak_ref_init(&request->thumbnail, thumbnail);
    waiting_.push_back(request);
    // Started once the main thread has nothing more urgent to do, so that a window's first frame never
    // shares the processor with a decoding.
    if (!startScheduled_ && !decoding_) {
        startScheduled_ = true;
        g_idle_add_full(G_PRIORITY_LOW, [](gpointer) -> gboolean {
            startScheduled_ = false;
            decodeNext();
            return G_SOURCE_REMOVE;
        }, nullptr, nullptr);
    }
}

void ThumbnailImage::decodeNext() {
    while (!decoding_ && !waiting_.empty()) {
        auto* request = waiting_.front();
        waiting_.pop_front();
        if (auto* thumbnail = g_weak_ref_get(&request->thumbnail)) {
            g_object_unref(thumbnail);
            decoding_ = true;
            GTask* task = g_task_new(nullptr, nullptr, stillDecoded, nullptr);
            g_task_set_task_data(task, request, forget);
            g_task_run_in_thread(task, decodeStill);
            g_object_unref(task);
        } else {
            // Its window closed before its turn.
            forget(request);
        }
    }
}

void ThumbnailImage::forget(gpointer data) {
    auto* request = static_cast<StillRequest*>(data);
    g_weak_ref_clear(&request->thumbnail);
    delete request;
}

void ThumbnailImage::show(const platform::Image& image) {
    // The options application runs on the GTK platform, whose images are textures.
    if (auto* texture = dynamic_cast<const platform::TextureImage*>(&image))
        gtk_picture_set_paintable(GTK_PICTURE(picture_), GDK_PAINTABLE(texture->texture()));
}

void ThumbnailImage::decodeStill(GTask* task, gpointer, gpointer data, GCancellable*) {
    // Textures are immutable and may be made on any thread.
    auto* request = static_cast<StillRequest*>(data);
    GdkTexture* texture = gdk_texture_new_from_filename(request->path.c_str(), nullptr);
    g_task_return_pointer(task, texture, texture ? g_object_unref : nullptr);
}

void ThumbnailImage::stillDecoded(GObject*, GAsyncResult* result, gpointer) {
    auto* request = static_cast<StillRequest*>(g_task_get_task_data(G_TASK(result)));
    auto* texture = static_cast<GdkTexture*>(g_task_propagate_pointer(G_TASK(result), nullptr));
    decoding_ = false;
    decodeNext();
    if (!texture)
        return;
    SceneThumbnails::keep(request->slug, std::make_shared<platform::TextureImage>(texture, request->path));
    auto image = SceneThumbnails::cached(request->slug);
    auto* thumbnail = static_cast<GtkWidget*>(g_weak_ref_get(&request->thumbnail));
    if (!thumbnail)
        return;
    if (auto* view = viewOf(thumbnail))
        view->show(*image);
    g_object_unref(thumbnail);
}

bool ThumbnailImage::isLoaded(GtkWidget* thumbnail) {
    auto* view = viewOf(thumbnail);
    return view && view->loaded_;
}

} // namespace orrelith
