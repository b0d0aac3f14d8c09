#pragma once

#include "Platform/Audio/AudioPlayerNode.hpp"
#include "Platform/Fake/Audio/FakeAudioSystem.hpp"

#include <memory>

namespace orrelith::platform {

class FakeAudioEngine;

// A player node that plays nothing but keeps the state a real one would. Main thread only.
class FakeAudioPlayerNode : public AudioPlayerNode {
public:
    explicit FakeAudioPlayerNode(std::weak_ptr<FakeAudioSystem> system) : system_(std::move(system)) {}

    void scheduleBuffer(std::shared_ptr<const AudioPCMBuffer> buffer, BufferOptions options) override;
    void play() override;
    void stop() override;
    bool isPlaying() const override;

    // Called by the engine that connects it, and by that engine when it stops.
    void connectTo(std::weak_ptr<FakeAudioEngine> engine) { engine_ = std::move(engine); }
    void engineStopped() { playing_ = false; }
    const std::shared_ptr<const AudioPCMBuffer>& scheduled() const { return scheduled_; }

private:
    bool engineRuns() const;

    std::weak_ptr<FakeAudioSystem> system_;
    std::weak_ptr<FakeAudioEngine> engine_;
    std::shared_ptr<const AudioPCMBuffer> scheduled_;
    bool playing_ = false;
};

} // namespace orrelith::platform
