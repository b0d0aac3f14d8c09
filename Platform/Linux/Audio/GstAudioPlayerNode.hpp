#pragma once

#include "Platform/Audio/AudioPlayerNode.hpp"
#include "Platform/Linux/Audio/GstLoopFeed.hpp"

#include <memory>
#include <optional>

namespace orrelith::platform {

class GstAudioEngine;

// A player node on GStreamer: its engine gives it an appsrc, which its feed fills from the scheduled
// buffer on the streaming thread. `play` takes the engine's pipeline to PLAYING from the buffer's first
// frame; `stop` takes it back to READY, which ends the streaming at once. Main thread only.
class GstAudioPlayerNode : public AudioPlayerNode {
public:
    void scheduleBuffer(std::shared_ptr<const AudioPCMBuffer> buffer, BufferOptions options) override;
    void play() override;
    void stop() override;
    bool isPlaying() const override;

    // For the engine that connects it.
    const std::shared_ptr<GstLoopFeed>& feed() const { return feed_; }
    void connectTo(std::weak_ptr<GstAudioEngine> engine, const AudioFormat& format);
    void engineStopped() {
        feed_->halt();
        playing_ = false;
    }

private:
    struct Scheduled {
        std::shared_ptr<const AudioPCMBuffer> buffer;
        BufferOptions options;
    };

    std::shared_ptr<GstLoopFeed> feed_ = std::make_shared<GstLoopFeed>();
    std::weak_ptr<GstAudioEngine> engine_;
    std::optional<Scheduled> scheduled_;
    bool playing_ = false;
};

} // namespace orrelith::platform
