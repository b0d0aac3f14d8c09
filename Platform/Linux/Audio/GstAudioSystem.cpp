#include "Platform/Linux/Audio/GstAudioSystem.hpp"

#include "Platform/Linux/Audio/GstAudioEngine.hpp"
#include "Platform/Linux/Audio/GstAudioFile.hpp"
#include "Platform/Linux/Audio/GstAudioPlayerNode.hpp"
#include "Platform/Linux/Audio/GstObjectRef.hpp"

#include <chrono>

namespace orrelith::platform {

bool gstAvailable() {
    static const bool available = gst_init_check(nullptr, nullptr, nullptr);
    return available;
}

GstAudioSystem::GstAudioSystem(GstAudioOutput output, std::shared_ptr<MainQueue> queue)
    : output_(std::move(output)), queue_(std::move(queue)) {}

namespace {

// Long enough for a read to notice it was abandoned, between two pulls. On a busy machine the decoder's
// low-priority threads may take far longer, and a process whose run has ended must not linger for them:
// such a read is left to end with the process.
constexpr auto abandonedReadPatience = std::chrono::milliseconds(200);

} // namespace

GstAudioSystem::~GstAudioSystem() {
    *ending_ = true;
    for (auto& reader : readers_) {
        if (reader.ended.wait_for(abandonedReadPatience) == std::future_status::ready)
            reader.thread.join();
        else
            reader.thread.detach();
    }
}

void GstAudioSystem::finishReads() {
    for (auto& reader : readers_)
        reader.thread.join();
    readers_.clear();
}

std::shared_ptr<AudioFile> GstAudioSystem::openFileForReading(const std::filesystem::path& path) {
    return GstAudioFile::open(path);
}

void GstAudioSystem::readWholeFile(const std::filesystem::path& path,
                                   std::function<void(std::shared_ptr<AudioPCMBuffer>)> completion) {
    std::promise<void> ended;
    auto future = ended.get_future();
    auto read = [path, completion = std::move(completion), queue = queue_, ending = ending_,
                 ended = std::move(ended)]() mutable {
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
        ended.set_value();
    };
    readers_.push_back(Reader{std::thread(std::move(read)), std::move(future)});
}

std::shared_ptr<AudioEngine> GstAudioSystem::makeEngine() { return GstAudioEngine::create(output_, queue_); }

std::shared_ptr<AudioPlayerNode> GstAudioSystem::makePlayerNode() { return std::make_shared<GstAudioPlayerNode>(); }

} // namespace orrelith::platform
