#include "Platform/Audio/AudioPCMBuffer.hpp"

#include <algorithm>
#include <new>

namespace orrelith::platform {

std::shared_ptr<AudioPCMBuffer> AudioPCMBuffer::create(const AudioFormat& format, AudioFrameCount frameCapacity) {
    if (!format.isValid() || frameCapacity == 0)
        return nullptr;
    std::size_t count = std::size_t{frameCapacity} * format.channelCount;
    // Not zeroed: a whole track's worth of pages is only touched as it is filled.
    std::unique_ptr<float[]> samples(new (std::nothrow) float[count]);
    if (!samples)
        return nullptr;
    return std::shared_ptr<AudioPCMBuffer>(new AudioPCMBuffer(format, frameCapacity, std::move(samples)));
}

AudioPCMBuffer::AudioPCMBuffer(const AudioFormat& format, AudioFrameCount capacity, std::unique_ptr<float[]> samples)
    : format_(format), frameCapacity_(capacity), samples_(std::move(samples)) {}

void AudioPCMBuffer::setFrameLength(AudioFrameCount length) { frameLength_ = std::min(length, frameCapacity_); }

} // namespace orrelith::platform
