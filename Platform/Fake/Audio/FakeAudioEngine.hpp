#pragma once

#include "Platform/Audio/AudioEngine.hpp"
#include "Platform/Fake/Audio/FakeAudioMixerNode.hpp"
#include "Platform/Fake/Audio/FakeAudioPlayerNode.hpp"
#include "Platform/Fake/Audio/FakeAudioSystem.hpp"

#include <memory>
#include <vector>

namespace orrelith::platform {

// An engine with no output. It starts unless the system says engines fail, or nothing is connected.
// Releasing it while running stops it (and records the stop). Main thread only.
class FakeAudioEngine : public AudioEngine, public std::enable_shared_from_this<FakeAudioEngine> {
public:
    explicit FakeAudioEngine(std::weak_ptr<FakeAudioSystem> system);
    ~FakeAudioEngine() override;

    void attach(std::shared_ptr<AudioPlayerNode> node) override;
    void connectToMainMixer(std::shared_ptr<AudioPlayerNode> node, const AudioFormat& format) override;
    std::shared_ptr<AudioMixerNode> mainMixerNode() override { return mixer_; }
    bool start() override;
    void stop() override;
    bool isRunning() const override { return running_; }

    const std::shared_ptr<FakeAudioPlayerNode>& connectedPlayer() const { return connected_; }

private:
    std::weak_ptr<FakeAudioSystem> system_;
    std::shared_ptr<FakeAudioMixerNode> mixer_;
    std::vector<std::shared_ptr<FakeAudioPlayerNode>> attached_;
    std::shared_ptr<FakeAudioPlayerNode> connected_;
    bool running_ = false;
};

} // namespace orrelith::platform
