#pragma once

#include "Platform/Audio/AudioMixerNode.hpp"
#include "Platform/Fake/Audio/FakeAudioSystem.hpp"

#include <memory>

namespace orrelith::platform {

// A main mixer that records every volume set, with its virtual time. Main thread only.
class FakeAudioMixerNode : public AudioMixerNode {
public:
    explicit FakeAudioMixerNode(std::weak_ptr<FakeAudioSystem> system) : system_(std::move(system)) {}

    float outputVolume() const override { return volume_; }
    void setOutputVolume(float volume) override;

private:
    std::weak_ptr<FakeAudioSystem> system_;
    float volume_ = 1.0f;
};

} // namespace orrelith::platform
