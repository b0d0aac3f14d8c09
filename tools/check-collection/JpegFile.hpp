#pragma once

#include <string>
#include <string_view>

namespace orrelith::collection {

// Structural check of a baseline or progressive JPEG: start-of-image marker, well-formed segments up to a
// frame header with non-zero size, a scan, and the end-of-image marker. Pure; safe on any thread.
struct JpegFile {
    // Empty when the bytes are a JPEG; otherwise what is wrong with them.
    static std::string problem(std::string_view bytes);
};

} // namespace orrelith::collection
