#include "Platform/Fake/Audio/FakeAudioSystem.hpp"

#include "Platform/Fake/Audio/FakeAudioEngine.hpp"
#include "Platform/Fake/Audio/FakeAudioFile.hpp"
#include "Platform/Fake/Audio/FakeAudioPlayerNode.hpp"

namespace orrelith::platform {

FakeAudioSystem::FakeAudioSystem(std::shared_ptr<FakeMainQueue> clock) : clock_(std::move(clock)) {}

std::shared_ptr<AudioFile> FakeAudioSystem::openFileForReading(const std::filesystem::path& path) {
    record_.opens.push_back(path);
    auto found = files.find(path);
    if (found == files.end())
        return nullptr;
    return std::make_shared<FakeAudioFile>(weak_from_this(), found->second);
}

void FakeAudioSystem::readWholeFile(const std::filesystem::path& path,
                                    std::function<void(std::shared_ptr<AudioPCMBuffer>)> completion) {
    auto file = openFileForReading(path);
    auto buffer = file ? AudioPCMBuffer::readWhole(*file) : nullptr;
    if (auto clock = clock_.lock())
        clock->async([buffer, completion = std::move(completion)] { completion(buffer); });
}

std::shared_ptr<AudioEngine> FakeAudioSystem::makeEngine() {
    ++record_.enginesMade;
    auto engine = std::make_shared<FakeAudioEngine>(weak_from_this());
    engines_.push_back(engine);
    return engine;
}

std::shared_ptr<AudioPlayerNode> FakeAudioSystem::makePlayerNode() {
    ++record_.playersMade;
    return std::make_shared<FakeAudioPlayerNode>(weak_from_this());
}

double FakeAudioSystem::now() const {
    auto clock = clock_.lock();
    return clock ? clock->now() : 0.0;
}

std::size_t FakeAudioSystem::runningEngines() const {
    std::size_t count = 0;
    for (const auto& weak : engines_)
        if (auto engine = weak.lock(); engine && engine->isRunning())
            ++count;
    return count;
}

void FakeAudioSystem::loseOutput() {
    for (const auto& weak : engines_)
        if (auto engine = weak.lock())
            engine->stop();
}

std::optional<float> FakeAudioSystem::audibleVolume() const {
    for (const auto& weak : engines_) {
        auto engine = weak.lock();
        if (engine && engine->isRunning() && engine->connectedPlayer() && engine->connectedPlayer()->isPlaying())
            return engine->mainMixerNode()->outputVolume();
    }
    return std::nullopt;
}

} // namespace orrelith::platform
