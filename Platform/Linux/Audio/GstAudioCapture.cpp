#include "Platform/Linux/Audio/GstAudioCapture.hpp"

#include "Platform/Linux/Audio/GstObjectRef.hpp"

#include <gst/app/gstappsink.h>

#include <cmath>

namespace orrelith::platform {

std::shared_ptr<GstAudioCapture> GstAudioCapture::create(const AudioFormat& format) {
    if (!gstAvailable() || !format.isValid())
        return nullptr;
    return std::shared_ptr<GstAudioCapture>(new GstAudioCapture(format));
}

GstAudioCapture::~GstAudioCapture() {
    if (sink_)
        gst_object_unref(sink_);
}

GstAudioOutput GstAudioCapture::output() {
    return GstAudioOutput{{[weak = weak_from_this()]() -> GstElement* {
        auto self = weak.lock();
        return self ? self->makeSink() : nullptr;
    }}};
}

GstElement* GstAudioCapture::makeSink() {
    GstElement* sink = gst_element_factory_make("appsink", "capture");
    if (!sink)
        return nullptr;
    GstCaps* caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "F32LE", "layout", G_TYPE_STRING,
                                        "interleaved", "rate", G_TYPE_INT, static_cast<int>(std::lround(format_.sampleRate)),
                                        "channels", G_TYPE_INT, static_cast<int>(format_.channelCount), nullptr);
    g_object_set(sink, "caps", caps, "sync", FALSE, "max-buffers", 2u, "drop", FALSE, "emit-signals", FALSE, nullptr);
    gst_caps_unref(caps);
    if (sink_)
        gst_object_unref(sink_);
    sink_ = GST_ELEMENT(gst_object_ref_sink(sink));
    // The engine takes its own reference.
    return GST_ELEMENT(gst_object_ref(sink_));
}

std::vector<float> GstAudioCapture::pullBuffer(double patienceSeconds) {
    std::vector<float> samples;
    if (!sink_)
        return samples;
    auto patience = static_cast<GstClockTime>(patienceSeconds * GST_SECOND);
    GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink_), patience);
    if (!sample)
        return samples;
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    if (buffer && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        const auto* data = reinterpret_cast<const float*>(map.data);
        samples.assign(data, data + map.size / sizeof(float));
        gst_buffer_unmap(buffer, &map);
    }
    gst_sample_unref(sample);
    return samples;
}

std::vector<float> GstAudioCapture::pull(std::size_t frames, double patienceSeconds) {
    std::vector<float> samples;
    std::size_t wanted = frames * format_.channelCount;
    while (samples.size() < wanted) {
        auto next = pullBuffer(patienceSeconds);
        if (next.empty())
            break;
        samples.insert(samples.end(), next.begin(), next.end());
    }
    samples.resize(std::min(samples.size(), wanted));
    return samples;
}

void GstAudioCapture::drain() {
    while (sink_) {
        GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink_), 0);
        if (!sample)
            return;
        gst_sample_unref(sample);
    }
}

std::size_t GstAudioCapture::discard(std::size_t frames, double patienceSeconds) {
    std::size_t seen = 0;
    auto patience = static_cast<GstClockTime>(patienceSeconds * GST_SECOND);
    std::size_t frameBytes = format_.channelCount * sizeof(float);
    while (seen < frames && sink_) {
        GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink_), patience);
        if (!sample)
            break;
        if (GstBuffer* buffer = gst_sample_get_buffer(sample))
            seen += gst_buffer_get_size(buffer) / frameBytes;
        gst_sample_unref(sample);
    }
    return seen;
}

} // namespace orrelith::platform
