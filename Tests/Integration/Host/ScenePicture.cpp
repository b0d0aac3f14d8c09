#include "ScenePicture.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include <gdk-pixbuf/gdk-pixbuf.h>

namespace {

constexpr int sampleWidth = 32;
constexpr int sampleHeight = 20;

std::vector<int> shrink(GdkPixbuf* source) {
    GdkPixbuf* small = gdk_pixbuf_scale_simple(source, sampleWidth, sampleHeight, GDK_INTERP_BILINEAR);
    std::vector<int> values;
    const guchar* pixels = gdk_pixbuf_read_pixels(small);
    int stride = gdk_pixbuf_get_rowstride(small);
    int channels = gdk_pixbuf_get_n_channels(small);
    for (int y = 0; y < sampleHeight; ++y)
        for (int x = 0; x < sampleWidth; ++x)
            for (int c = 0; c < 3; ++c)
                values.push_back(pixels[y * stride + x * channels + c]);
    g_object_unref(small);
    return values;
}

double distance(const std::vector<int>& a, const std::vector<int>& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += std::abs(a[i] - b[i]);
    return sum / static_cast<double>(a.size());
}

} // namespace

std::optional<ScenePicture> ScenePicture::load(const std::filesystem::path& png) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(png.c_str(), nullptr);
    if (!pixbuf)
        return std::nullopt;
    return ScenePicture(pixbuf);
}

ScenePicture::ScenePicture(const ScenePicture& other) : pixbuf_(GDK_PIXBUF(g_object_ref(other.pixbuf_))) {}

ScenePicture::~ScenePicture() { g_object_unref(pixbuf_); }

int ScenePicture::width() const { return gdk_pixbuf_get_width(pixbuf_); }

int ScenePicture::height() const { return gdk_pixbuf_get_height(pixbuf_); }

ScenePicture::Match ScenePicture::nearest(const PictureRegion& region, const std::filesystem::path& gallery) const {
    GdkPixbuf* part = gdk_pixbuf_new_subpixbuf(pixbuf_, region.x, region.y, region.width, region.height);
    auto sample = shrink(part);
    g_object_unref(part);
    Match best{"", std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
    for (const auto& entry : std::filesystem::directory_iterator(gallery)) {
        GdkPixbuf* still = gdk_pixbuf_new_from_file(entry.path().c_str(), nullptr);
        if (!still)
            continue;
        double apart = distance(sample, shrink(still));
        g_object_unref(still);
        if (apart < best.distance) {
            best.runnerUpDistance = best.distance;
            best.distance = apart;
            best.slug = entry.path().stem().string();
        } else {
            best.runnerUpDistance = std::min(best.runnerUpDistance, apart);
        }
    }
    return best;
}
