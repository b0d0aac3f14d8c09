#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orrelith::collection {

// What the collection needs to know of its sound track, read from the MP4 box structure: the codec of the
// first audio sample entry and the movie's duration. Pure; safe on any thread.
struct Mp4Track {
    std::string codec;   // the sample entry's four-character code, such as "alac"
    double seconds = 0.0; // movie duration

    // Nothing when the bytes are not an MP4 file with a movie header and a sample description.
    static std::optional<Mp4Track> read(std::string_view bytes);
};

} // namespace orrelith::collection
