#include "Platform/Linux/Audio/GstAudioEngine.hpp"

#include "Platform/Linux/Audio/GstObjectRef.hpp"

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace orrelith::platform {

namespace {

struct BusContext {
    std::weak_ptr<GstAudioEngine> engine;
    std::shared_ptr<MainQueue> queue;
    std::shared_ptr<std::atomic<std::uint64_t>> run;
};

// Any thread. Errors go to the main queue; every message is dropped here, as nobody reads the bus. A
// dropped message is the handler's to unref: one kept would keep its element, a failed sink say, for ever.
GstBusSyncReply onBusMessage(GstBus*, GstMessage* message, gpointer data) {
    bool failed = GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR;
    gst_message_unref(message);
    if (!failed)
        return GST_BUS_DROP;
    try {
        auto* context = static_cast<BusContext*>(data);
        std::uint64_t run = context->run->load();
        context->queue->async([engine = context->engine, run] {
            if (auto self = engine.lock())
                self->pipelineFailed(run);
        });
    } catch (...) {
    }
    return GST_BUS_DROP;
}

// Streaming thread.
void onNeedData(GstAppSrc* source, guint, gpointer data) {
    try {
        (*static_cast<std::shared_ptr<GstLoopFeed>*>(data))->pushNext(source);
    } catch (...) {
    }
}

void deleteFeed(gpointer data) { delete static_cast<std::shared_ptr<GstLoopFeed>*>(data); }

GstCaps* capsOf(const AudioFormat& format) {
    GstCaps* caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "F32LE", "layout", G_TYPE_STRING,
                                        "interleaved", "rate", G_TYPE_INT, static_cast<int>(std::lround(format.sampleRate)),
                                        "channels", G_TYPE_INT, static_cast<int>(format.channelCount), nullptr);
    // Beyond stereo the channels have no positions; say so, or conversion refuses them.
    if (format.channelCount > 2)
        gst_caps_set_simple(caps, "channel-mask", GST_TYPE_BITMASK, guint64{0}, nullptr);
    return caps;
}

bool playable(const AudioFormat& format) {
    return format.isValid() && format.sampleRate < INT_MAX && format.channelCount <= 64 &&
           std::lround(format.sampleRate) > 0;
}

} // namespace

std::shared_ptr<GstAudioEngine> GstAudioEngine::create(GstAudioOutput output, std::shared_ptr<MainQueue> queue) {
    if (!gstAvailable() || !queue)
        return nullptr;
    std::shared_ptr<GstAudioEngine> engine(new GstAudioEngine(std::move(output), std::move(queue)));
    if (!engine->build())
        return nullptr;
    engine->watchBus();
    return engine;
}

GstAudioEngine::GstAudioEngine(GstAudioOutput output, std::shared_ptr<MainQueue> queue)
    : output_(std::move(output)), queue_(std::move(queue)) {}

GstAudioEngine::~GstAudioEngine() {
    stop();
    if (!pipeline_)
        return;
    GstObjectRef<GstBus> bus(gst_element_get_bus(pipeline_));
    gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
    gst_object_unref(pipeline_);
}

bool GstAudioEngine::build() {
    pipeline_ = gst_pipeline_new("audio-engine");
    if (pipeline_)
        gst_object_ref_sink(pipeline_);
    volume_ = gst_element_factory_make("volume", "main-mixer");
    GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
    resample_ = gst_element_factory_make("audioresample", nullptr);
    if (!pipeline_ || !volume_ || !convert || !resample_) {
        for (GstElement* element : {volume_, convert, resample_})
            if (element)
                gst_object_unref(gst_object_ref_sink(element));
        volume_ = resample_ = nullptr;
        return false;
    }
    gst_bin_add_many(GST_BIN(pipeline_), volume_, convert, resample_, nullptr);
    mixer_ = std::make_shared<GstAudioMixerNode>(volume_);
    return gst_element_link_many(volume_, convert, resample_, nullptr);
}

void GstAudioEngine::watchBus() {
    GstObjectRef<GstBus> bus(gst_element_get_bus(pipeline_));
    auto* context = new BusContext{weak_from_this(), queue_, run_};
    gst_bus_set_sync_handler(bus.get(), onBusMessage, context,
                             [](gpointer data) { delete static_cast<BusContext*>(data); });
}

void GstAudioEngine::attach(std::shared_ptr<AudioPlayerNode> node) {
    auto player = std::dynamic_pointer_cast<GstAudioPlayerNode>(node);
    if (player && std::find(attached_.begin(), attached_.end(), player) == attached_.end())
        attached_.push_back(std::move(player));
}

void GstAudioEngine::connectToMainMixer(std::shared_ptr<AudioPlayerNode> node, const AudioFormat& format) {
    auto player = std::dynamic_pointer_cast<GstAudioPlayerNode>(node);
    if (running_ || !player || !playable(format) ||
        std::find(attached_.begin(), attached_.end(), player) == attached_.end())
        return;
    GstElement* source = makeSource(*player, format);
    if (!source)
        return;
    if (source_)
        gst_bin_remove(GST_BIN(pipeline_), source_);
    gst_bin_add(GST_BIN(pipeline_), source);
    source_ = source;
    if (!gst_element_link(source_, volume_)) {
        gst_bin_remove(GST_BIN(pipeline_), source_);
        source_ = nullptr;
        return;
    }
    player->connectTo(weak_from_this(), format);
    connected_ = std::move(player);
}

GstElement* GstAudioEngine::makeSource(const GstAudioPlayerNode& node, const AudioFormat& format) {
    GstElement* source = gst_element_factory_make("appsrc", "player");
    if (!source)
        return nullptr;
    GstCaps* caps = capsOf(format);
    guint64 chunkBytes = std::uint64_t{GstLoopFeed::chunkFrames} * format.channelCount * sizeof(float);
    g_object_set(source, "caps", caps, "format", GST_FORMAT_TIME, "is-live", FALSE, "emit-signals", FALSE,
                 "stream-type", GST_APP_STREAM_TYPE_STREAM, "max-bytes", 4 * chunkBytes, nullptr);
    gst_caps_unref(caps);
    GstAppSrcCallbacks callbacks{};
    callbacks.need_data = onNeedData;
    gst_app_src_set_callbacks(GST_APP_SRC(source), &callbacks, new std::shared_ptr<GstLoopFeed>(node.feed()),
                              deleteFeed);
    return source;
}

bool GstAudioEngine::start() {
    if (running_)
        return true;
    if (!source_)
        return false;
    for (const auto& maker : output_.sinks) {
        ++*run_;
        if (openSink(maker)) {
            running_ = true;
            return true;
        }
    }
    return false;
}

bool GstAudioEngine::openSink(const GstAudioOutput::SinkMaker& maker) {
    GstElement* sink = maker ? maker() : nullptr;
    if (!sink)
        return false;
    gst_object_ref_sink(sink);
    gst_bin_add(GST_BIN(pipeline_), sink);
    // READY opens the device: this is where a missing output fails, synchronously.
    if (gst_element_link(resample_, sink) &&
        gst_element_set_state(pipeline_, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
        sink_ = sink;
        return true;
    }
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    dropSink(sink);
    return false;
}

void GstAudioEngine::dropSink(GstElement* sink) {
    gst_element_set_state(sink, GST_STATE_NULL);
    gst_bin_remove(GST_BIN(pipeline_), sink);
    gst_object_unref(sink);
}

void GstAudioEngine::stop() {
    ++*run_;
    if (connected_)
        connected_->engineStopped();
    if (sink_) {
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        dropSink(sink_);
        sink_ = nullptr;
    }
    running_ = false;
}

bool GstAudioEngine::playConnected(const GstAudioPlayerNode& node) {
    if (!running_ || connected_.get() != &node)
        return false;
    if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE)
        return true;
    stop();
    return false;
}

void GstAudioEngine::haltConnected(const GstAudioPlayerNode& node) {
    if (running_ && connected_.get() == &node)
        gst_element_set_state(pipeline_, GST_STATE_READY);
}

void GstAudioEngine::pipelineFailed(std::uint64_t run) {
    if (running_ && run == run_->load())
        stop();
}

std::string GstAudioEngine::pipelineState() const {
    GstState state = GST_STATE_NULL;
    gst_element_get_state(pipeline_, &state, nullptr, 0);
    return gst_element_state_get_name(state);
}

} // namespace orrelith::platform
