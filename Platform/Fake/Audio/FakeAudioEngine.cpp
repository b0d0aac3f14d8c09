#include "Platform/Fake/Audio/FakeAudioEngine.hpp"

#include <algorithm>

namespace orrelith::platform {

FakeAudioEngine::FakeAudioEngine(std::weak_ptr<FakeAudioSystem> system)
    : system_(system), mixer_(std::make_shared<FakeAudioMixerNode>(system)) {}

FakeAudioEngine::~FakeAudioEngine() { stop(); }

void FakeAudioEngine::attach(std::shared_ptr<AudioPlayerNode> node) {
    if (auto fake = std::dynamic_pointer_cast<FakeAudioPlayerNode>(node))
        attached_.push_back(std::move(fake));
}

void FakeAudioEngine::connectToMainMixer(std::shared_ptr<AudioPlayerNode> node, const AudioFormat& format) {
    auto fake = std::dynamic_pointer_cast<FakeAudioPlayerNode>(node);
    if (!fake || std::find(attached_.begin(), attached_.end(), fake) == attached_.end() || !format.isValid())
        return;
    if (auto system = system_.lock())
        system->mutableRecord().connections.push_back(format);
    connected_ = fake;
    connected_->connectTo(weak_from_this());
}

bool FakeAudioEngine::start() {
    auto system = system_.lock();
    if (system)
        ++system->mutableRecord().engineStarts;
    if (!system || system->enginesFailToStart || !connected_) {
        if (system)
            ++system->mutableRecord().failedStarts;
        return false;
    }
    running_ = true;
    return true;
}

void FakeAudioEngine::stop() {
    if (!running_)
        return;
    running_ = false;
    if (connected_)
        connected_->engineStopped();
    if (auto system = system_.lock())
        ++system->mutableRecord().engineStops;
}

} // namespace orrelith::platform
