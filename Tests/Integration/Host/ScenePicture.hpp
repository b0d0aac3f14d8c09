#pragma once

#include <filesystem>
#include <optional>
#include <string>

typedef struct _GdkPixbuf GdkPixbuf;

struct PictureRegion {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A PNG read back from disk, and which scene a part of it shows: the scene whose gallery still, shrunk to
// a few hundred pixels, is nearest to that part shrunk alike. The stills are the real pages drawn, so a
// painted scene lies close to its own still and far from every other; a black or empty screen is near
// none of them.
class ScenePicture {
public:
    struct Match {
        std::string slug;
        double distance = 0;
        double runnerUpDistance = 0;
    };

    // Nothing when the file is missing or not an image.
    static std::optional<ScenePicture> load(const std::filesystem::path& png);
    ScenePicture(const ScenePicture& other);
    ScenePicture& operator=(const ScenePicture&) = delete;
    ~ScenePicture();

    int width() const;
    int height() const;
    PictureRegion whole() const { return {0, 0, width(), height()}; }
    // The share of pixels in the region with some light (any channel above 48 of 255).
    double litShare(const PictureRegion& region) const;
    // The scene shown in the region when one is clearly nearest (mean channel difference under 20 of 255,
    // the next scene at least twice as far); else nothing.
    std::optional<Match> scene(const PictureRegion& region, const std::filesystem::path& gallery) const;
    // The nearest scene whether or not it is clear, for messages.
    Match nearest(const PictureRegion& region, const std::filesystem::path& gallery) const;

private:
    explicit ScenePicture(GdkPixbuf* pixbuf) : pixbuf_(pixbuf) {}
    GdkPixbuf* pixbuf_;
};
