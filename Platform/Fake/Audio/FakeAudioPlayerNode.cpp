#include "Platform/Fake/Audio/FakeAudioPlayerNode.hpp"

#include "Platform/Fake/Audio/FakeAudioEngine.hpp"

namespace orrelith::platform {

void FakeAudioPlayerNode::scheduleBuffer(std::shared_ptr<const AudioPCMBuffer> buffer, BufferOptions options) {
    if (auto system = system_.lock())
        system->mutableRecord().schedules.push_back(options);
    if (buffer && buffer->frameLength() > 0)
        scheduled_ = std::move(buffer);
}

void FakeAudioPlayerNode::play() {
    if (auto system = system_.lock())
        ++system->mutableRecord().plays;
    if (engineRuns())
        playing_ = true;
}

void FakeAudioPlayerNode::stop() {
    if (auto system = system_.lock())
        ++system->mutableRecord().playerStops;
    playing_ = false;
    scheduled_.reset();
}

bool FakeAudioPlayerNode::isPlaying() const { return playing_ && engineRuns(); }

bool FakeAudioPlayerNode::engineRuns() const {
    auto engine = engine_.lock();
    return engine && engine->isRunning();
}

} // namespace orrelith::platform
