#include "Platform/Linux/Audio/GstAudioSystem.hpp"

#include "Platform/Linux/Audio/GstAudioEngine.hpp"
#include "Platform/Linux/Audio/GstAudioFile.hpp"
#include "Platform/Linux/Audio/GstAudioPlayerNode.hpp"
#include "Platform/Linux/Audio/GstObjectRef.hpp"

namespace orrelith::platform {

bool gstAvailable() {
    static const bool available = gst_init_check(nullptr, nullptr, nullptr);
    return available;
}

GstAudioSystem::GstAudioSystem(GstAudioOutput output, std::shared_ptr<MainQueue> queue)
    : output_(std::move(output)), queue_(std::move(queue)) {}

std::shared_ptr<AudioFile> GstAudioSystem::openFileForReading(const std::filesystem::path& path) {
    return GstAudioFile::open(path);
}

std::shared_ptr<AudioEngine> GstAudioSystem::makeEngine() { return GstAudioEngine::create(output_, queue_); }

std::shared_ptr<AudioPlayerNode> GstAudioSystem::makePlayerNode() { return std::make_shared<GstAudioPlayerNode>(); }

} // namespace orrelith::platform
