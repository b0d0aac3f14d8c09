#pragma once

#include "Platform/Audio/AudioEngine.hpp"
#include "Platform/Linux/Audio/GstAudioMixerNode.hpp"
#include "Platform/Linux/Audio/GstAudioOutput.hpp"
#include "Platform/Linux/Audio/GstAudioPlayerNode.hpp"
#include "Platform/System/MainQueue.hpp"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

typedef struct _GstElement GstElement;

namespace orrelith::platform {

// An audio engine as one GStreamer pipeline:
//     appsrc (the connected player's feed) ! volume (the main mixer) ! audioconvert ! audioresample ! sink
// `start` makes a sink from the output's makers and takes the pipeline to READY, which opens the device
// synchronously: a sink that cannot open fails there, at once, and the next maker is tried. A failed start
// leaves the pipeline in NULL with no sink and no thread. The player's `play` takes it to PLAYING; `stop`
// back to NULL, releasing the device.
//
// Main thread only. GStreamer's threads touch nothing here: an error from the pipeline (the device went
// away) is posted to `queue`, whose `async` is thread-safe, and stops the engine on that later turn if the
// run it belongs to is still current. The engine holds its nodes; a node holds its engine weakly.
class GstAudioEngine : public AudioEngine, public std::enable_shared_from_this<GstAudioEngine> {
public:
    // Null when the pipeline's elements cannot be made.
    static std::shared_ptr<GstAudioEngine> create(GstAudioOutput output, std::shared_ptr<MainQueue> queue);
    ~GstAudioEngine() override;
    GstAudioEngine(const GstAudioEngine&) = delete;
    GstAudioEngine& operator=(const GstAudioEngine&) = delete;

    void attach(std::shared_ptr<AudioPlayerNode> node) override;
    // Only while stopped.
    void connectToMainMixer(std::shared_ptr<AudioPlayerNode> node, const AudioFormat& format) override;
    std::shared_ptr<AudioMixerNode> mainMixerNode() override { return mixer_; }
    bool start() override;
    void stop() override;
    bool isRunning() const override { return running_; }

    // For the connected player: PLAYING from its feed's start (false when that fails), and back to READY.
    bool playConnected(const GstAudioPlayerNode& node);
    void haltConnected(const GstAudioPlayerNode& node);
    // On the main queue, after the pipeline reported an error during `run`: stops if that run is current.
    void pipelineFailed(std::uint64_t run);
    // The pipeline's current state by name: "NULL" when nothing is open or streaming.
    std::string pipelineState() const;
    const std::shared_ptr<GstAudioMixerNode>& mixer() const { return mixer_; }

private:
    GstAudioEngine(GstAudioOutput output, std::shared_ptr<MainQueue> queue);
    bool build();
    void watchBus();
    GstElement* makeSource(const GstAudioPlayerNode& node, const AudioFormat& format);
    bool openSink(const GstAudioOutput::SinkMaker& maker);
    void dropSink(GstElement* sink);

    GstAudioOutput output_;
    std::shared_ptr<MainQueue> queue_;
    GstElement* pipeline_ = nullptr;
    GstElement* volume_ = nullptr;
    GstElement* resample_ = nullptr;
    GstElement* source_ = nullptr;
    GstElement* sink_ = nullptr;
    std::shared_ptr<GstAudioMixerNode> mixer_;
    std::vector<std::shared_ptr<GstAudioPlayerNode>> attached_;
    std::shared_ptr<GstAudioPlayerNode> connected_;
    bool running_ = false;
    // Counts starts and stops, so that an error posted by an earlier run is recognised as stale.
    std::shared_ptr<std::atomic<std::uint64_t>> run_ = std::make_shared<std::atomic<std::uint64_t>>(0);
};

} // namespace orrelith::platform
