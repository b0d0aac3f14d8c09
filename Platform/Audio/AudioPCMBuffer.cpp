#include "Platform/Audio/AudioPCMBuffer.hpp"

#include "Platform/Audio/AudioFile.hpp"

#include <algorithm>
#include <limits>
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

std::shared_ptr<AudioPCMBuffer> AudioPCMBuffer::readWhole(AudioFile& file) {
    auto length = file.length();
    // A buffer counts its frames in 32 bits; a longer file cannot be held.
    if (length <= 0 || length > std::numeric_limits<AudioFrameCount>::max())
        return nullptr;
    auto buffer = create(file.processingFormat(), static_cast<AudioFrameCount>(length));
    if (!buffer || !file.readIntoBuffer(*buffer) || buffer->frameLength() == 0)
        return nullptr;
    return buffer;
}

AudioPCMBuffer::AudioPCMBuffer(const AudioFormat& format, AudioFrameCount capacity, std::unique_ptr<float[]> samples)
    : format_(format), frameCapacity_(capacity), samples_(std::move(samples)) {}

void AudioPCMBuffer::setFrameLength(AudioFrameCount length) { frameLength_ = std::min(length, frameCapacity_); }

} // namespace orrelith::platform
