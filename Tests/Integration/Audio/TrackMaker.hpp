#pragma once

#include "Platform/Audio/AudioFormat.hpp"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace orrelith::platform {

// An ALAC track in an .m4a made by GStreamer's own tools, with the 16-bit samples it was made from kept
// beside it, so that a decode can be compared sample by sample. The movie's timescale is the sample rate:
// at mp4mux's default (1800) the edit list rounds the track's length down and a player trims its end.
struct Track {
    std::filesystem::path file;
    AudioFormat format;
    std::size_t frames = 0;
    // The source samples, as floats, interleaved.
    std::vector<float> samples;
};

// `buffers` buffers of `framesPerBuffer` frames of audiotestsrc's `wave` (e.g. "sine freq=441 volume=0.8").
inline Track makeTrack(const std::filesystem::path& file, AudioFormat format, int buffers, int framesPerBuffer,
                       const std::string& wave) {
    auto raw = file;
    raw.replace_extension(".raw");
    std::string caps = "audio/x-raw,format=S16LE,layout=interleaved,rate=" +
                       std::to_string(static_cast<int>(format.sampleRate)) +
                       ",channels=" + std::to_string(format.channelCount);
    std::string command = "gst-launch-1.0 -q audiotestsrc wave=" + wave + " num-buffers=" + std::to_string(buffers) +
                          " samplesperbuffer=" + std::to_string(framesPerBuffer) + " ! " + caps +
                          " ! tee name=t ! queue ! audioconvert ! avenc_alac ! mp4mux movie-timescale=" +
                          std::to_string(static_cast<int>(format.sampleRate)) + " ! filesink location='" +
                          file.string() + "' t. ! queue ! filesink location='" + raw.string() + "'";
    Track track{file, format, static_cast<std::size_t>(buffers) * framesPerBuffer, {}};
    if (std::system(command.c_str()) != 0)
        return track;
    std::ifstream in(raw, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto value = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                               (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
        track.samples.push_back(static_cast<float>(value) / 32768.0f);
    }
    return track;
}

} // namespace orrelith::platform
