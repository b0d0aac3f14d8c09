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
    // The options application runs on the GTK platform, whose images are textures.
    auto image = std::dynamic_pointer_cast<platform::TextureImage>(SceneThumbnails::image(*view->slug_));
    if (image)
        gtk_picture_set_paintable(GTK_PICTURE(view->picture_), GDK_PAINTABLE(image->texture()));
}

bool ThumbnailImage::isLoaded(GtkWidget* thumbnail) {
    auto* view = viewOf(thumbnail);
    return view && view->loaded_;
}

} // namespace orrelith
