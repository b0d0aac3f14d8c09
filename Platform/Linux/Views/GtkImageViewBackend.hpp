#pragma once

#include "Platform/Views/ImageView.hpp"
#include "Platform/Linux/Views/GtkViewBackend.hpp"

namespace orrelith::platform {

// A decoded picture held as a GDK texture. Immutable.
class TextureImage : public Image {
public:
    // The decoded file, or null when it is missing or not an image.
    static std::shared_ptr<TextureImage> load(const std::filesystem::path& path);
    TextureImage(GdkTexture* texture, std::filesystem::path path);
    ~TextureImage() override;
    TextureImage(const TextureImage&) = delete;
    TextureImage& operator=(const TextureImage&) = delete;

    Size size() const override;
    const std::filesystem::path& path() const override { return path_; }
    GdkTexture* texture() const { return texture_; }

private:
    GdkTexture* texture_;
    std::filesystem::path path_;
};

// An image view: a GtkPicture filling a view container, centred, fitted as the scaling asks (no scaling
// at all is shown as scale-down, the nearest GTK offers). Main thread only.
class GtkImageViewBackend : public GtkViewBackendOf<ImageViewBackend> {
public:
    GtkImageViewBackend();
    void setImage(const std::shared_ptr<Image>& image) override;
    void setImageScaling(ImageScaling scaling) override;
    GtkPicture* picture() const { return picture_; }

private:
    GtkPicture* picture_;
};

} // namespace orrelith::platform
