#include "Platform/Linux/Audio/GstAudioSystem.hpp"

#include "Platform/Linux/Audio/GstAudioEngine.hpp"
#include "Platform/Linux/Audio/GstAudioFile.hpp"
#include "Platform/Linux/Audio/GstAudioPlayerNode.hpp"
#include "Platform/Linux/Audio/GstObjectRef.hpp"

#include <sys/resource.h>
#include <unistd.h>

namespace orrelith::platform {

bool gstAvailable() {
    static const bool available = gst_init_check(nullptr, nullptr, nullptr);
    return available;
}

GstAudioSystem::GstAudioSystem(GstAudioOutput output, std::shared_ptr<MainQueue> queue)
    : output_(std::move(output)), queue_(std::move(queue)) {}

GstAudioSystem::~GstAudioSystem() {
    *ending_ = true;
    finishReads();
}

void GstAudioSystem::finishReads() {
    for (auto& reader : readers_)
        reader.join();
    readers_.clear();
}

std::shared_ptr<AudioFile> GstAudioSystem::openFileForReading(const std::filesystem::path& path) {
    return GstAudioFile::open(path);
}

void GstAudioSystem::readWholeFile(const std::filesystem::path& path,
                                   std::function<void(std::shared_ptr<AudioPCMBuffer>)> completion) {
    auto read = [path, completion = std::move(completion), queue = queue_, ending = ending_]() mutable {
        // The sound can wait for the windows and pages; the thread is this read's alone.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
        std::shared_ptr<AudioPCMBuffer> buffer;
        try {
            if (auto file = GstAudioFile::open(path, ending.get()))
                buffer = AudioPCMBuffer::readWhole(*file);
        } catch (...) {
            buffer.reset();
        }
        // The completion is the main thread's, even to be destroyed.
        if (!*ending)
            queue->async([buffer, completion = std::move(completion)] { completion(buffer); });
    };
    readers_.emplace_back(std::move(read));
}

std::shared_ptr<AudioEngine> GstAudioSystem::makeEngine() { return GstAudioEngine::create(output_, queue_); }

std::shared_ptr<AudioPlayerNode> GstAudioSystem::makePlayerNode() { return std::make_shared<GstAudioPlayerNode>(); }

} // namespace orrelith::platform
