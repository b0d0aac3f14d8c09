#pragma once

#include "Platform/Views/View.hpp"

#include <filesystem>

namespace orrelith::platform {

// A decoded picture. Immutable; shared between views.
class Image {
public:
    virtual ~Image() = default;
    virtual Size size() const = 0;
    virtual const std::filesystem::path& path() const = 0;
};

enum class ImageScaling { ProportionallyDown, AxesIndependently, None, ProportionallyUpOrDown };

class ImageViewBackend : public ViewBackend {
public:
    virtual void setImage(const std::shared_ptr<Image>& image) = 0;
    virtual void setImageScaling(ImageScaling scaling) = 0;
};

// Shows one image, scaled as asked, centred. Main thread only.
class ImageView : public View {
public:
    static std::shared_ptr<ImageView> create(const Rect& frame);

    const std::shared_ptr<Image>& image() const { return image_; }
    void setImage(std::shared_ptr<Image> image);
    ImageScaling imageScaling() const { return scaling_; }
    void setImageScaling(ImageScaling scaling);

private:
    ImageView(const Rect& frame, std::unique_ptr<ImageViewBackend> backend);
    ImageViewBackend& imageBackend() const;

    std::shared_ptr<Image> image_;
    ImageScaling scaling_ = ImageScaling::ProportionallyDown;
};

} // namespace orrelith::platform
