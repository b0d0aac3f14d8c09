#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace orrelith::platform {

// A still picture read or written with gdk-pixbuf, for the tools that make and check the scene collection's
// gallery. Needs no display. Safe on any one thread at a time.
struct PixbufStill {
    std::string format; // gdk-pixbuf's name for the file's format: "jpeg", "png", ...
    int width = 0;
    int height = 0;

    // The picture in `file`, decoded whole. Nothing, with `problem` set, when the file cannot be read or
    // decoded, or is a JPEG whose data stops before its end-of-image marker: gdk-pixbuf fills the rows
    // missing from a cut JPEG with grey and calls it whole.
    static std::optional<PixbufStill> read(const std::filesystem::path& file, std::string& problem);
    // The picture in `source` scaled to width x height (the best interpolation gdk-pixbuf has) and written
    // to `jpeg` at `quality` (0 to 100). Nothing on success, else why no file was written.
    static std::optional<std::string> writeJpeg(const std::filesystem::path& source, const std::filesystem::path& jpeg,
                                                int width, int height, int quality);
};

} // namespace orrelith::platform
