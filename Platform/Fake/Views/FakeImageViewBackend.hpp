#pragma once

#include "Platform/Fake/Views/FakeViewBackend.hpp"
#include "Platform/Views/ImageView.hpp"

#include <filesystem>

namespace orrelith::platform {

// An image that remembers where it came from.
class FakeImage : public Image {
public:
    FakeImage(std::filesystem::path path, Size size) : path_(std::move(path)), size_(size) {}
    Size size() const override { return size_; }
    const std::filesystem::path& path() const override { return path_; }

private:
    std::filesystem::path path_;
    Size size_;
};


class FakeImageViewBackend : public FakeViewBackendOf<ImageViewBackend> {
public:
    using FakeViewBackendOf::FakeViewBackendOf;
    static FakeImageViewBackend& of(const ImageView& view);
    void setImage(const std::shared_ptr<Image>& image) override { this->image = image; }
    void setImageScaling(ImageScaling scaling) override { this->scaling = scaling; }

    std::shared_ptr<Image> image;
    std::optional<ImageScaling> scaling;
};

} // namespace orrelith::platform
