#pragma once

#include "Platform/Audio/AudioFormat.hpp"
#include "Platform/Audio/AudioMixerNode.hpp"
#include "Platform/Audio/AudioPlayerNode.hpp"

#include <memory>

namespace orrelith::platform {

// An audio graph that ends in the system's audio output (made by AudioSystem::makeEngine): player nodes
// are attached, connected to the main mixer, and sound while the engine runs. The graph holds one
// connected player; connecting another replaces it.
//
// Main thread only; calls nothing back. The engine owns its main mixer and holds its attached nodes.
// Releasing the last reference to a running engine stops it. Output lost while running (the device goes
// away) is noticed on a later turn of the main queue: the engine then stops by itself.
class AudioEngine {
public:
    virtual ~AudioEngine() = default;
    // Takes `node` into the graph. Nodes made by another audio system are ignored.
    virtual void attach(std::shared_ptr<AudioPlayerNode> node) = 0;
    // Routes an attached `node` to the main mixer, its buffers being of `format`.
    virtual void connectToMainMixer(std::shared_ptr<AudioPlayerNode> node, const AudioFormat& format) = 0;
    // Never null for a working engine.
    virtual std::shared_ptr<AudioMixerNode> mainMixerNode() = 0;
    // Opens the audio output and runs the graph. False, with nothing left running or open, when no audio
    // output can be opened or the graph is incomplete. Returns once the output is open or has failed.
    virtual bool start() = 0;
    // Stops every node and closes the output. Harmless when not running.
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
};

} // namespace orrelith::platform
