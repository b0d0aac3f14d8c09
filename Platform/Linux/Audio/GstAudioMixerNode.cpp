#include "Platform/Linux/Audio/GstAudioMixerNode.hpp"

#include <gst/gst.h>

#include <algorithm>
#include <cmath>

namespace orrelith::platform {

GstAudioMixerNode::GstAudioMixerNode(GstElement* volume) : element_(GST_ELEMENT(gst_object_ref(volume))) {}

GstAudioMixerNode::~GstAudioMixerNode() { gst_object_unref(element_); }

void GstAudioMixerNode::setOutputVolume(float volume) {
    volume_ = volume;
    double applied = std::isnan(volume) ? 0.0 : std::clamp(static_cast<double>(volume), 0.0, 1.0);
    g_object_set(element_, "volume", applied, nullptr);
}

double GstAudioMixerNode::elementVolume() const {
    double value = 0;
    g_object_get(element_, "volume", &value, nullptr);
    return value;
}

} // namespace orrelith::platform
