#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "JpegFile.hpp"

using orrelith::collection::JpegFile;

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) {
        out += static_cast<char>(v);
    }
    return out;
}

std::string shippedStill() {
    std::ifstream in(std::string(ORRELITH_COLLECTION_DIR) + "/gallery/threat-radar.jpg", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Start of image, a baseline frame header of 2x2 pixels (one component), a scan, end of image.
std::string smallestJpeg(int width) {
    return bytes({0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x02, 0x00, width, 0x01, 0x01, 0x11, 0x00,
                  0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00, 0x00, 0xFF, 0xD9});
}

TEST(JpegFile, AcceptsARenderedStillAndAMinimalWellFormedFile) {
    const auto still = shippedStill();
    ASSERT_FALSE(still.empty());
    EXPECT_EQ(JpegFile::problem(still), "");
    EXPECT_EQ(JpegFile::problem(smallestJpeg(2)), "");
}

TEST(JpegFile, NamesWhatIsWrongWithBrokenFiles) {
    const auto still = shippedStill();
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", "no JPEG start-of-image marker"},
        {bytes({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}), "no JPEG start-of-image marker"},
        {still.substr(0, still.size() / 2), "no JPEG end-of-image marker (truncated?)"},
        {smallestJpeg(0), "JPEG frame header without a picture size"},
        {bytes({0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9}), "JPEG scan before any frame header"},
        {bytes({0xFF, 0xD8, 0xFF, 0xE0, 0x40, 0x00, 0xFF, 0xD9}), "JPEG segment runs past the end"},
        {bytes({0xFF, 0xD8, 0x12, 0x34, 0x00, 0x02, 0xFF, 0xD9}), "broken JPEG segment structure"},
    };
    for (const auto& [file, problem] : cases) {
        EXPECT_EQ(JpegFile::problem(file), problem) << problem;
    }
}

} // namespace
