#pragma once

#include "Platform/Audio/AudioFile.hpp"
#include "Platform/Fake/Audio/FakeAudioSystem.hpp"

#include <memory>

namespace orrelith::platform {

// A file of the fake audio system. Its frames are a ramp (frame f, channel c holds f + c / 10, as floats)
// so that tests can tell where a read started. Main thread only.
class FakeAudioFile : public AudioFile {
public:
    FakeAudioFile(std::weak_ptr<FakeAudioSystem> system, FakeAudioSystem::Track track);

    AudioFormat processingFormat() const override { return track_.format; }
    AudioFramePosition length() const override { return track_.length; }
    bool readIntoBuffer(AudioPCMBuffer& buffer) override;

private:
    std::weak_ptr<FakeAudioSystem> system_;
    FakeAudioSystem::Track track_;
    AudioFramePosition position_ = 0;
};

} // namespace orrelith::platform
