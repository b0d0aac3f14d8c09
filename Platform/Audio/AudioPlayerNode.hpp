#pragma once

#include "Platform/Audio/AudioPCMBuffer.hpp"

#include <memory>

namespace orrelith::platform {

// A source node that plays PCM buffers from memory (made by AudioSystem::makePlayerNode). It sounds once it
// is attached to an engine, connected to the engine's main mixer, the engine runs, and `play` was called.
//
// Main thread only; calls nothing back. The node holds the scheduled buffer (shared) until `stop` or until
// another buffer replaces it; the buffer must not be written to meanwhile.
class AudioPlayerNode {
public:
    enum class BufferOptions {
        // Play the buffer once, then fall silent (the node still counts as playing).
        none,
        // Repeat the buffer without a gap: its last frame is followed directly by its first.
        loops,
    };

    virtual ~AudioPlayerNode() = default;
    // Makes `buffer` what the node plays next, from its first frame, as soon as it plays. Replaces any
    // buffer scheduled before. A null or empty buffer schedules nothing.
    virtual void scheduleBuffer(std::shared_ptr<const AudioPCMBuffer> buffer, BufferOptions options) = 0;
    // Starts playing the scheduled buffer. Only a node connected to a running engine plays; otherwise
    // this does nothing and isPlaying stays false.
    virtual void play() = 0;
    // Silences the node at once and forgets the scheduled buffer.
    virtual void stop() = 0;
    // True from a `play` that took effect until `stop`, the engine's stop, or the loss of the engine's output.
    virtual bool isPlaying() const = 0;
};

} // namespace orrelith::platform
