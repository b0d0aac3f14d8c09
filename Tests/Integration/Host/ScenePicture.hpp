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
// 32x20 pixels, is nearest to that part shrunk alike. The stills are the real pages drawn, so a painted
// scene lies close to its own still and far from every other; a black or empty screen lies about as far
// from several.
class ScenePicture {
public:
    struct Match {
        std::string slug;
        // Mean difference per colour channel, out of 255, from the nearest still and from the next one.
        double distance = 0;
        double runnerUpDistance = 0;
        // Near one still (under 20) and at least half as far again from every other. The darkest scene, its
        // buttons lit, lies 6.3 from its still and 11.8 from the next; a black screen 7.8 and 9.2.
        bool isClear() const { return distance < 20 && runnerUpDistance >= 1.5 * distance; }
    };

    // Nothing when the file is missing or not an image.
    static std::optional<ScenePicture> load(const std::filesystem::path& png);
    ScenePicture(const ScenePicture& other);
    ScenePicture& operator=(const ScenePicture&) = delete;
    ~ScenePicture();

    int width() const;
    int height() const;
    PictureRegion whole() const { return {0, 0, width(), height()}; }
    Match nearest(const PictureRegion& region, const std::filesystem::path& gallery) const;

private:
    explicit ScenePicture(GdkPixbuf* pixbuf) : pixbuf_(pixbuf) {}
    GdkPixbuf* pixbuf_;
};
