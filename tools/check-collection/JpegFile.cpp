#include "JpegFile.hpp"

#include <cstdint>

namespace orrelith::collection {

namespace {

unsigned byteAt(std::string_view bytes, std::size_t at) { return static_cast<std::uint8_t>(bytes[at]); }

unsigned word(std::string_view bytes, std::size_t at) { return byteAt(bytes, at) << 8 | byteAt(bytes, at + 1); }

// Start-of-frame markers: C0 to CF, except DHT (C4), JPG (C8) and DAC (CC).
bool isFrameHeader(unsigned marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

} // namespace

std::string JpegFile::problem(std::string_view bytes) {
    if (bytes.size() < 4 || byteAt(bytes, 0) != 0xFF || byteAt(bytes, 1) != 0xD8) {
        return "no JPEG start-of-image marker";
    }
    if (byteAt(bytes, bytes.size() - 2) != 0xFF || byteAt(bytes, bytes.size() - 1) != 0xD9) {
        return "no JPEG end-of-image marker (truncated?)";
    }
    bool frame = false;
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (byteAt(bytes, at) != 0xFF) {
            return "broken JPEG segment structure";
        }
        const unsigned marker = byteAt(bytes, at + 1);
        const std::size_t length = word(bytes, at + 2);
        if (length < 2 || at + 2 + length > bytes.size()) {
            return "JPEG segment runs past the end";
        }
        if (isFrameHeader(marker)) {
            if (length < 8 || word(bytes, at + 5) == 0 || word(bytes, at + 7) == 0) {
                return "JPEG frame header without a picture size";
            }
            frame = true;
        }
        if (marker == 0xDA) {
            return frame ? std::string() : "JPEG scan before any frame header";
        }
        at += 2 + length;
    }
    return "JPEG without an image scan";
}

} // namespace orrelith::collection
