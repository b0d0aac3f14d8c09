#pragma once

#include "Platform/Audio/AudioMixerNode.hpp"

typedef struct _GstElement GstElement;

namespace orrelith::platform {

// An engine's main mixer on GStreamer: its output volume is the `volume` property of the engine's volume
// element, which every buffer passes. Holds a reference to that element. Main thread only.
class GstAudioMixerNode : public AudioMixerNode {
public:
    explicit GstAudioMixerNode(GstElement* volume);
    ~GstAudioMixerNode() override;
    GstAudioMixerNode(const GstAudioMixerNode&) = delete;
    GstAudioMixerNode& operator=(const GstAudioMixerNode&) = delete;

    float outputVolume() const override { return volume_; }
    void setOutputVolume(float volume) override;
    // The volume element's property as the stream applies it.
    double elementVolume() const;

private:
    GstElement* element_;
    float volume_ = 1.0f;
};

} // namespace orrelith::platform
