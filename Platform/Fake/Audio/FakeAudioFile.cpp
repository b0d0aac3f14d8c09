#include "Platform/Fake/Audio/FakeAudioFile.hpp"

#include <algorithm>

namespace orrelith::platform {

FakeAudioFile::FakeAudioFile(std::weak_ptr<FakeAudioSystem> system, FakeAudioSystem::Track track)
    : system_(std::move(system)), track_(track) {}

bool FakeAudioFile::readIntoBuffer(AudioPCMBuffer& buffer) {
    if (auto system = system_.lock())
        ++system->mutableRecord().decodes;
    if (!track_.readable || buffer.format() != track_.format)
        return false;
    auto frames = static_cast<AudioFrameCount>(
        std::min<AudioFramePosition>(buffer.frameCapacity(), std::max<AudioFramePosition>(0, track_.length - position_)));
    std::size_t stride = buffer.stride();
    for (AudioFrameCount f = 0; f < frames; ++f)
        for (std::size_t c = 0; c < stride; ++c)
            buffer.samples()[f * stride + c] = static_cast<float>(position_ + f) + static_cast<float>(c) / 10.0f;
    position_ += frames;
    buffer.setFrameLength(frames);
    return true;
}

} // namespace orrelith::platform
