#pragma once

#include <cstdint>

namespace orrelith::platform {

// A count of audio frames (one sample per channel). 32 bits, as a PCM buffer's capacity is.
using AudioFrameCount = std::uint32_t;
// A frame position or length within a file, which may exceed what one buffer holds.
using AudioFramePosition = std::int64_t;

// The processing format of audio: 32-bit float samples, channels interleaved, at a sample rate.
// A plain value.
struct AudioFormat {
    double sampleRate = 0;
    std::uint32_t channelCount = 0;

    // A positive rate and at least one channel.
    bool isValid() const { return sampleRate > 0 && channelCount > 0; }
    friend bool operator==(const AudioFormat&, const AudioFormat&) = default;
};

} // namespace orrelith::platform
