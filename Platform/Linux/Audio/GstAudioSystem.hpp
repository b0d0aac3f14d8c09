#pragma once

#include "Platform/Audio/AudioSystem.hpp"
#include "Platform/Linux/Audio/GstAudioOutput.hpp"
#include "Platform/System/MainQueue.hpp"

#include <atomic>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace orrelith::platform {

// Audio on GStreamer: files decoded whole into memory (GstAudioFile), engines as pipelines that play into
// `output` (GstAudioEngine), player nodes fed from memory (GstAudioPlayerNode). GStreamer is initialised on
// first use; without it files and engines are null. `queue` receives the engines' error reports from
// GStreamer's threads and the whole-file reads' answers from their threads, one thread a read; the
// system's end abandons the reads still going and waits a moment at most for them. Main thread only.
class GstAudioSystem : public AudioSystem {
public:
    GstAudioSystem(GstAudioOutput output, std::shared_ptr<MainQueue> queue);

    ~GstAudioSystem() override;
    GstAudioSystem(const GstAudioSystem&) = delete;
    GstAudioSystem& operator=(const GstAudioSystem&) = delete;

    std::shared_ptr<AudioFile> openFileForReading(const std::filesystem::path& path) override;
    void readWholeFile(const std::filesystem::path& path,
                       std::function<void(std::shared_ptr<AudioPCMBuffer>)> completion) override;
    std::shared_ptr<AudioEngine> makeEngine() override;
    std::shared_ptr<AudioPlayerNode> makePlayerNode() override;
    // Waits, as long as it takes, until every whole-file read has ended and queued its answer.
    void finishReads();

private:
    GstAudioOutput output_;
    std::shared_ptr<MainQueue> queue_;
    std::shared_ptr<std::atomic<bool>> ending_ = std::make_shared<std::atomic<bool>>(false);
    struct Reader {
        std::thread thread;
        std::future<void> ended;
    };
    std::vector<Reader> readers_;
};

} // namespace orrelith::platform
