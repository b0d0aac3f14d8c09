#pragma once

#include "Platform/Audio/AudioEngine.hpp"
#include "Platform/Audio/AudioFile.hpp"
#include "Platform/Audio/AudioPlayerNode.hpp"

#include <filesystem>
#include <functional>
#include <memory>

namespace orrelith::platform {

// Where audio objects come from: files to read, engines and player nodes. Reached through
// platform::audio(). Failures are quiet: an operation that cannot be done answers null.
//
// Main thread only. Only `readWholeFile` calls back, never synchronously. Callers own what they are given.
class AudioSystem {
public:
    virtual ~AudioSystem() = default;
    // The file at `path` opened for reading; null when it is missing, unreadable or not decodable audio.
    virtual std::shared_ptr<AudioFile> openFileForReading(const std::filesystem::path& path) = 0;
    // Decodes the whole file at `path` into a new buffer away from the main thread, so that a long track
    // never holds up the windows. `completion` runs once, on a later turn of the main queue, with the buffer,
    // or null when the file cannot be opened or read, holds no frames or is too long for a buffer.
    virtual void readWholeFile(const std::filesystem::path& path,
                               std::function<void(std::shared_ptr<AudioPCMBuffer>)> completion) = 0;
    // A new, stopped engine with nothing attached. Null when audio is not available at all.
    virtual std::shared_ptr<AudioEngine> makeEngine() = 0;
    // A new player node, not attached to any engine.
    virtual std::shared_ptr<AudioPlayerNode> makePlayerNode() = 0;
};

} // namespace orrelith::platform
