#pragma once

#include "Platform/Audio/AudioSystem.hpp"
#include "Platform/Linux/Audio/GstAudioOutput.hpp"
#include "Platform/System/MainQueue.hpp"

#include <memory>

namespace orrelith::platform {

// Audio on GStreamer: files decoded whole into memory (GstAudioFile), engines as pipelines that play into
// `output` (GstAudioEngine), player nodes fed from memory (GstAudioPlayerNode). GStreamer is initialised on
// first use; without it files and engines are null. `queue` receives the engines' error reports from
// GStreamer's threads. Main thread only.
class GstAudioSystem : public AudioSystem {
public:
    GstAudioSystem(GstAudioOutput output, std::shared_ptr<MainQueue> queue);

    std::shared_ptr<AudioFile> openFileForReading(const std::filesystem::path& path) override;
    std::shared_ptr<AudioEngine> makeEngine() override;
    std::shared_ptr<AudioPlayerNode> makePlayerNode() override;

private:
    GstAudioOutput output_;
    std::shared_ptr<MainQueue> queue_;
};

} // namespace orrelith::platform
