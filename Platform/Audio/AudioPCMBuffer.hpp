#pragma once

#include "Platform/Audio/AudioFormat.hpp"

#include <cstddef>
#include <memory>

namespace orrelith::platform {

class AudioFile;

// Audio held in memory: room for `frameCapacity` frames of a format, of which the first `frameLength`
// are valid. Samples are 32-bit floats with the channels interleaved (frame f, channel c lies at
// samples()[f * channelCount + c]).
//
// Ownership and threads: shared through std::shared_ptr. One thread writes at a time; once filled, a buffer
// that nobody writes any more may be read from any number of threads (a player reads it from its
// streaming thread while it is scheduled, so do not write to a scheduled buffer).
class AudioPCMBuffer {
public:
    // Nothing when the format is not valid, the capacity is 0, or the memory cannot be had.
    static std::shared_ptr<AudioPCMBuffer> create(const AudioFormat& format, AudioFrameCount frameCapacity);
    // All of `file` from its current position, in its processing format. Nothing when it cannot be read,
    // holds no frames, or is longer than a buffer can count.
    static std::shared_ptr<AudioPCMBuffer> readWhole(AudioFile& file);

    const AudioFormat& format() const { return format_; }
    AudioFrameCount frameCapacity() const { return frameCapacity_; }
    AudioFrameCount frameLength() const { return frameLength_; }
    // Clamped to the capacity.
    void setFrameLength(AudioFrameCount length);
    // frameCapacity * channelCount samples; those beyond frameLength are unspecified.
    float* samples() { return samples_.get(); }
    const float* samples() const { return samples_.get(); }
    // Samples per frame.
    std::size_t stride() const { return format_.channelCount; }

    AudioPCMBuffer(const AudioPCMBuffer&) = delete;
    AudioPCMBuffer& operator=(const AudioPCMBuffer&) = delete;

private:
    AudioPCMBuffer(const AudioFormat& format, AudioFrameCount capacity, std::unique_ptr<float[]> samples);

    AudioFormat format_;
    AudioFrameCount frameCapacity_;
    AudioFrameCount frameLength_ = 0;
    std::unique_ptr<float[]> samples_;
};

} // namespace orrelith::platform
