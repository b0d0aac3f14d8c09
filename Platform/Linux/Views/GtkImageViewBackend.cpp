#include "Platform/Linux/Views/GtkImageViewBackend.hpp"

namespace orrelith::platform {

std::shared_ptr<TextureImage> TextureImage::load(const std::filesystem::path& path) {
    GError* error = nullptr;
    GdkTexture* texture = gdk_texture_new_from_filename(path.c_str(), &error);
    if (!texture) {
        g_clear_error(&error);
        return nullptr;
    }
    return std::make_shared<TextureImage>(texture, path);
}

TextureImage::TextureImage(GdkTexture* texture, std::filesystem::path path)
    : texture_(texture), path_(std::move(path)) {}

TextureImage::~TextureImage() { g_object_unref(texture_); }

Size TextureImage::size() const {
    return {static_cast<double>(gdk_texture_get_width(texture_)), static_cast<double>(gdk_texture_get_height(texture_))};
}

GtkImageViewBackend::GtkImageViewBackend() : GtkViewBackendOf(gtk_picture_new()) {
    picture_ = GTK_PICTURE(gtk_widget_get_first_child(widget()));
    gtk_picture_set_can_shrink(picture_, TRUE);
}

void GtkImageViewBackend::setImage(const std::shared_ptr<Image>& image) {
    auto* texture = dynamic_cast<TextureImage*>(image.get());
    gtk_picture_set_paintable(picture_, texture ? GDK_PAINTABLE(texture->texture()) : nullptr);
}

void GtkImageViewBackend::setImageScaling(ImageScaling scaling) {
    GtkContentFit fit = GTK_CONTENT_FIT_SCALE_DOWN;
    switch (scaling) {
    case ImageScaling::AxesIndependently:
        fit = GTK_CONTENT_FIT_FILL;
        break;
    case ImageScaling::ProportionallyUpOrDown:
        fit = GTK_CONTENT_FIT_CONTAIN;
        break;
    case ImageScaling::ProportionallyDown:
    case ImageScaling::None:
        break;
    }
    gtk_picture_set_content_fit(picture_, fit);
}

} // namespace orrelith::platform
