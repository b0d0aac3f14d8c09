#include "Platform/Views/ImageView.hpp"

#include "Platform/Platform.hpp"
#include "Platform/Views/WindowSystem.hpp"

namespace orrelith::platform {

std::shared_ptr<ImageView> ImageView::create(const Rect& frame) {
    return std::shared_ptr<ImageView>(new ImageView(frame, windows().makeImageViewBackend()));
}

ImageView::ImageView(const Rect& frame, std::unique_ptr<ImageViewBackend> backend)
    : View(frame, std::move(backend)) {
    imageBackend().setImageScaling(scaling_);
}

ImageViewBackend& ImageView::imageBackend() const { return static_cast<ImageViewBackend&>(backend()); }

void ImageView::setImage(std::shared_ptr<Image> image) {
    image_ = std::move(image);
    imageBackend().setImage(image_);
}

void ImageView::setImageScaling(ImageScaling scaling) {
    scaling_ = scaling;
    imageBackend().setImageScaling(scaling);
}

} // namespace orrelith::platform
