#include "Platform/Linux/Audio/GstLoopFeed.hpp"

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace orrelith::platform {

void GstLoopFeed::setFormat(const AudioFormat& format) {
    std::lock_guard lock(mutex_);
    if (format != format_)
        buffer_.reset();
    format_ = format;
}

AudioFormat GstLoopFeed::format() const {
    std::lock_guard lock(mutex_);
    return format_;
}

bool GstLoopFeed::schedule(std::shared_ptr<const AudioPCMBuffer> buffer, AudioPlayerNode::BufferOptions options) {
    std::lock_guard lock(mutex_);
    if (!buffer || buffer->frameLength() == 0 || buffer->format() != format_)
        return false;
    buffer_ = std::move(buffer);
    options_ = options;
    position_ = 0;
    return true;
}

void GstLoopFeed::clear() {
    std::lock_guard lock(mutex_);
    buffer_.reset();
    position_ = 0;
}

void GstLoopFeed::restart() {
    std::lock_guard lock(mutex_);
    position_ = 0;
    framesOut_ = 0;
    feeding_ = true;
}

void GstLoopFeed::halt() {
    std::lock_guard lock(mutex_);
    feeding_ = false;
}

void GstLoopFeed::fill(float* out) {
    std::size_t stride = format_.channelCount;
    AudioFrameCount done = 0;
    while (done < chunkFrames && buffer_) {
        AudioFrameCount count = std::min(chunkFrames - done, buffer_->frameLength() - position_);
        std::memcpy(out + done * stride, buffer_->samples() + std::size_t{position_} * stride,
                    count * stride * sizeof(float));
        done += count;
        position_ += count;
        if (position_ < buffer_->frameLength())
            continue;
        position_ = 0;
        if (options_ != AudioPlayerNode::BufferOptions::loops)
            buffer_.reset();
    }
    std::fill(out + done * stride, out + chunkFrames * stride, 0.0f);
}

void GstLoopFeed::pushNext(GstAppSrc* source) {
    // The lock is held through the push: a halt cannot slip in between making a chunk and queueing it.
    std::lock_guard lock(mutex_);
    if (!feeding_ || !format_.isValid())
        return;
    std::size_t bytes = std::size_t{chunkFrames} * format_.channelCount * sizeof(float);
    GstBuffer* chunk = gst_buffer_new_allocate(nullptr, bytes, nullptr);
    GstMapInfo map;
    if (!chunk || !gst_buffer_map(chunk, &map, GST_MAP_WRITE)) {
        if (chunk)
            gst_buffer_unref(chunk);
        return;
    }
    fill(reinterpret_cast<float*>(map.data));
    gst_buffer_unmap(chunk, &map);
    stamp(chunk);
    gst_app_src_push_buffer(source, chunk);
}

void GstLoopFeed::stamp(GstBuffer* chunk) {
    // Times from frame counts, never by adding durations, so that rounding cannot accumulate.
    auto rate = static_cast<guint64>(std::llround(format_.sampleRate));
    GstClockTime start = gst_util_uint64_scale(framesOut_, GST_SECOND, rate);
    GstClockTime end = gst_util_uint64_scale(framesOut_ + chunkFrames, GST_SECOND, rate);
    GST_BUFFER_PTS(chunk) = start;
    GST_BUFFER_DURATION(chunk) = end - start;
    GST_BUFFER_OFFSET(chunk) = framesOut_;
    GST_BUFFER_OFFSET_END(chunk) = framesOut_ + chunkFrames;
    if (framesOut_ == 0)
        GST_BUFFER_FLAG_SET(chunk, GST_BUFFER_FLAG_DISCONT);
    framesOut_ += chunkFrames;
}

} // namespace orrelith::platform
