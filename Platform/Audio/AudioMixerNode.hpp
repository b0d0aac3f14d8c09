#pragma once

namespace orrelith::platform {

// An engine's main mixer: everything connected to it is summed and sent to the engine's output at the
// output volume. Owned by its engine (AudioEngine::mainMixerNode).
//
// Main thread only; calls nothing back.
class AudioMixerNode {
public:
    virtual ~AudioMixerNode() = default;
    // The volume last set (1.0 for a new engine), exactly as it was set.
    virtual float outputVolume() const = 0;
    // 0.0 is silence and 1.0 full level; values outside that range are clamped when applied.
    virtual void setOutputVolume(float volume) = 0;
};

} // namespace orrelith::platform
