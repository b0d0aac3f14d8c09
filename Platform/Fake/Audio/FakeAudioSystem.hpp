#pragma once

#include "Platform/Audio/AudioSystem.hpp"
#include "Platform/Fake/Audio/FakeAudioRecord.hpp"
#include "Platform/Fake/System/FakeMainQueue.hpp"

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace orrelith::platform {

class FakeAudioEngine;

// Audio in memory. Files come from a table (a path not in it is missing); engines start unless told to
// fail; every call is recorded, volume sets with the virtual time of the queue. Never reads a real clock.
// Main thread only; whole-file reads answer through the queue.
class FakeAudioSystem : public AudioSystem, public std::enable_shared_from_this<FakeAudioSystem> {
public:
    struct Track {
        AudioFormat format{48000, 2};
        AudioFramePosition length = 48000;
        // False: the file opens but reading it fails.
        bool readable = true;
    };

    explicit FakeAudioSystem(std::shared_ptr<FakeMainQueue> clock);

    std::shared_ptr<AudioFile> openFileForReading(const std::filesystem::path& path) override;
    // Decodes at once and answers on the queue's next turn, as if the decoding took no time.
    void readWholeFile(const std::filesystem::path& path,
                       std::function<void(std::shared_ptr<AudioPCMBuffer>)> completion) override;
    std::shared_ptr<AudioEngine> makeEngine() override;
    std::shared_ptr<AudioPlayerNode> makePlayerNode() override;

    const FakeAudioRecord& record() const { return record_; }
    // For the fake's own files, engines and nodes, which record into it.
    FakeAudioRecord& mutableRecord() { return record_; }
    // The queue's virtual time, 0 once the queue is gone.
    double now() const;

    // Engines still alive that are running.
    std::size_t runningEngines() const;
    // The main-mixer volume of the running engine whose player plays, or nothing when none plays.
    std::optional<float> audibleVolume() const;
    bool isAudible() const { return audibleVolume().has_value(); }
    // The audio device goes away: every running engine stops by itself, as a real one does.
    void loseOutput();

    std::map<std::filesystem::path, Track> files;
    // Makes every start of an engine fail, as with no audio output.
    bool enginesFailToStart = false;

private:
    std::weak_ptr<FakeMainQueue> clock_;
    FakeAudioRecord record_;
    std::vector<std::weak_ptr<FakeAudioEngine>> engines_;
};

} // namespace orrelith::platform
