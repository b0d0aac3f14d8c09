#pragma once

#include "Platform/Audio/AudioEngine.hpp"
#include "Platform/Audio/AudioFile.hpp"
#include "Platform/Audio/AudioPlayerNode.hpp"

#include <filesystem>
#include <memory>

namespace orrelith::platform {

// Where audio objects come from: files to read, engines and player nodes. Reached through
// platform::audio(). Failures are quiet: an operation that cannot be done answers null.
//
// Main thread only; calls nothing back. Callers own what they are given.
class AudioSystem {
public:
    virtual ~AudioSystem() = default;
    // The file at `path` opened for reading; null when it is missing, unreadable or not decodable audio.
    virtual std::shared_ptr<AudioFile> openFileForReading(const std::filesystem::path& path) = 0;
    // A new, stopped engine with nothing attached. Null when audio is not available at all.
    virtual std::shared_ptr<AudioEngine> makeEngine() = 0;
    // A new player node, not attached to any engine.
    virtual std::shared_ptr<AudioPlayerNode> makePlayerNode() = 0;
};

} // namespace orrelith::platform
