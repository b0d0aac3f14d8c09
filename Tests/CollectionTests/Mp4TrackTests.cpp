#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "Mp4Track.hpp"

using orrelith::collection::Mp4Track;

namespace {

std::string u32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::string box(const std::string& type, const std::string& body) {
    return u32(static_cast<std::uint32_t>(body.size() + 8)) + type + body;
}

// ftyp, then moov with a version-0 movie header (timescale, duration) and one track whose sample
// description holds a single entry of the given codec.
std::string movie(const std::string& codec, std::uint32_t timescale, std::uint32_t duration) {
    const std::string mvhd = box("mvhd", u32(0) + u32(0) + u32(0) + u32(timescale) + u32(duration) + std::string(80, '\0'));
    const std::string stsd = box("stsd", u32(0) + u32(1) + box(codec, std::string(28, '\0')));
    const std::string trak = box("trak", box("mdia", box("minf", box("stbl", stsd))));
    return box("ftyp", "M4A " + u32(0)) + box("moov", mvhd + trak) + box("mdat", "xxxx");
}

TEST(Mp4Track, ReadsCodecAndDurationOfTheShippedTrack) {
    std::ifstream in(std::string(ORRELITH_COLLECTION_DIR) + "/sound/ambience.m4a", std::ios::binary);
    const std::string file(std::istreambuf_iterator<char>(in), {});
    const auto track = Mp4Track::read(file);
    ASSERT_TRUE(track.has_value());
    EXPECT_EQ(track->codec, "alac");
    EXPECT_NEAR(track->seconds, 32.0, 0.01);
}

TEST(Mp4Track, ReadsBuiltBoxTrees) {
    const auto alac = Mp4Track::read(movie("alac", 48000, 48000 * 25));
    ASSERT_TRUE(alac.has_value());
    EXPECT_EQ(alac->codec, "alac");
    EXPECT_DOUBLE_EQ(alac->seconds, 25.0);
    const auto aac = Mp4Track::read(movie("mp4a", 1000, 90500));
    ASSERT_TRUE(aac.has_value());
    EXPECT_EQ(aac->codec, "mp4a");
    EXPECT_DOUBLE_EQ(aac->seconds, 90.5);
}

TEST(Mp4Track, RejectsWhatIsNoMovie) {
    const std::string good = movie("alac", 48000, 48000 * 25);
    const std::vector<std::pair<const char*, std::string>> cases{
        {"empty", ""},
        {"a WAV header", "RIFF" + u32(36) + "WAVEfmt "},
        {"cut inside the movie box", good.substr(0, 60)},
        {"no time scale", movie("alac", 0, 100)},
        {"box larger than the file", u32(4000) + "ftyp" + "M4A "},
    };
    for (const auto& [name, bytes] : cases) {
        EXPECT_FALSE(Mp4Track::read(bytes).has_value()) << name;
    }
}

} // namespace
