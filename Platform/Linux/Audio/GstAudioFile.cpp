#include "Platform/Linux/Audio/GstAudioFile.hpp"

#include "Platform/Linux/Audio/GstBackgroundTaskPool.hpp"
#include "Platform/Linux/Audio/GstObjectRef.hpp"

#include <gst/app/gstappsink.h>

#include <algorithm>
#include <bit>
#include <limits>
#include <mutex>
#include <optional>
#include <utility>

namespace orrelith::platform {

namespace {

static_assert(std::endian::native == std::endian::little, "decoded samples are F32LE");

constexpr const char* decoderDescription =
    "filesrc name=source ! decodebin name=decoder ! audioconvert ! "
    "appsink name=sink sync=false caps=audio/x-raw,format=F32LE,layout=interleaved";
// Pulls wait this long for a sample before looking at the bus again.
constexpr GstClockTime pollInterval = 100 * GST_MSECOND;
// A decoder that produces nothing and reports nothing for this many polls is given up on.
constexpr int patience = 100;

std::optional<AudioFormat> formatOf(GstSample* sample) {
    GstCaps* caps = gst_sample_get_caps(sample);
    if (!caps || gst_caps_get_size(caps) == 0)
        return std::nullopt;
    const GstStructure* structure = gst_caps_get_structure(caps, 0);
    int rate = 0;
    int channels = 0;
    if (!gst_structure_get_int(structure, "rate", &rate) || !gst_structure_get_int(structure, "channels", &channels) ||
        rate <= 0 || channels <= 0)
        return std::nullopt;
    return AudioFormat{static_cast<double>(rate), static_cast<std::uint32_t>(channels)};
}

void release(std::vector<GstBuffer*>& chunks) {
    for (GstBuffer* chunk : chunks)
        if (chunk)
            gst_buffer_unref(chunk);
    chunks.clear();
}

class Decoder {
public:
    ~Decoder() {
        if (pipeline_)
            gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
        release(decoded_.chunks);
    }
    bool begin(const std::filesystem::path& path);
    bool pullAll(const std::atomic<bool>* abandoned);
    GstAudioFile::Decoded take() {
        std::lock_guard lock(mediaTypesLock_);
        return std::exchange(decoded_, {});
    }
    // Called on decodebin's streaming threads.
    void noteMediaType(GstCaps* caps);

private:
    bool keep(GstSample* sample);
    bool failed() const;

    GstObjectRef<GstElement> pipeline_;
    GstObjectRef<GstElement> sink_;
    GstAudioFile::Decoded decoded_;
    std::mutex mediaTypesLock_;
};

// decodebin's "autoplug-continue": called with the caps of every stream before it plugs an element for it.
gboolean onAutoplugContinue(GstElement*, GstPad*, GstCaps* caps, gpointer decoder) {
    try {
        static_cast<Decoder*>(decoder)->noteMediaType(caps);
    } catch (...) {
        // A media type left unrecorded only makes the file look less like what it is.
    }
    return TRUE;
}

bool Decoder::begin(const std::filesystem::path& path) {
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(decoderDescription, &error);
    if (pipeline)
        gst_object_ref_sink(pipeline);
    pipeline_.reset(pipeline);
    if (error) {
        g_error_free(error);
        return false;
    }
    GstObjectRef<GstElement> source(gst_bin_get_by_name(GST_BIN(pipeline_.get()), "source"));
    GstObjectRef<GstElement> decodebin(gst_bin_get_by_name(GST_BIN(pipeline_.get()), "decoder"));
    sink_.reset(gst_bin_get_by_name(GST_BIN(pipeline_.get()), "sink"));
    if (!source || !decodebin || !sink_)
        return false;
    g_object_set(source.get(), "location", path.c_str(), nullptr);
    g_signal_connect(decodebin.get(), "autoplug-continue", G_CALLBACK(onAutoplugContinue), this);
    GstObjectRef<GstBus> bus(gst_element_get_bus(pipeline_.get()));
    gst_bus_set_sync_handler(bus.get(), GstBackgroundTaskPool::adoptTasks, GstBackgroundTaskPool::create(),
                             gst_object_unref);
    return gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
}

bool Decoder::pullAll(const std::atomic<bool>* abandoned) {
    auto* sink = GST_APP_SINK(sink_.get());
    for (int idle = 0; idle < patience;) {
        if (abandoned && *abandoned)
            return false;
        GstSample* sample = gst_app_sink_try_pull_sample(sink, pollInterval);
        if (sample) {
            bool kept = keep(sample);
            gst_sample_unref(sample);
            if (!kept)
                return false;
            idle = 0;
        } else if (gst_app_sink_is_eos(sink)) {
            return decoded_.length > 0;
        } else {
            ++idle;
        }
        if (failed())
            return false;
    }
    return false;
}

bool Decoder::keep(GstSample* sample) {
    auto format = formatOf(sample);
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    if (!format || !buffer || (decoded_.length > 0 && *format != decoded_.format))
        return false;
    decoded_.format = *format;
    std::size_t frameBytes = format->channelCount * sizeof(float);
    decoded_.length += static_cast<AudioFramePosition>(gst_buffer_get_size(buffer) / frameBytes);
    if (decoded_.length > std::numeric_limits<AudioFrameCount>::max())
        return false;
    decoded_.chunks.push_back(gst_buffer_ref(buffer));
    return true;
}

void Decoder::noteMediaType(GstCaps* caps) {
    if (!caps || gst_caps_get_size(caps) == 0)
        return;
    std::string type = gst_structure_get_name(gst_caps_get_structure(caps, 0));
    std::lock_guard lock(mediaTypesLock_);
    auto& types = decoded_.mediaTypes;
    // A parser between demuxer and decoder hands on the type it was given.
    if (!type.starts_with("audio/x-raw") && (types.empty() || types.back() != type))
        types.push_back(std::move(type));
}

bool Decoder::failed() const {
    GstObjectRef<GstBus> bus(gst_element_get_bus(pipeline_.get()));
    GstMessage* message = gst_bus_pop_filtered(bus.get(), GST_MESSAGE_ERROR);
    if (!message)
        return false;
    gst_message_unref(message);
    return true;
}

} // namespace

std::shared_ptr<GstAudioFile> GstAudioFile::open(const std::filesystem::path& path,
                                                 const std::atomic<bool>* abandoned) {
    if (!gstAvailable())
        return nullptr;
    Decoder decoder;
    if (!decoder.begin(path) || !decoder.pullAll(abandoned))
        return nullptr;
    return std::make_shared<GstAudioFile>(decoder.take());
}

GstAudioFile::GstAudioFile(Decoded decoded)
    : format_(decoded.format), length_(decoded.length), chunks_(std::move(decoded.chunks)),
      mediaTypes_(std::move(decoded.mediaTypes)) {}

GstAudioFile::~GstAudioFile() { release(chunks_); }

bool GstAudioFile::readIntoBuffer(AudioPCMBuffer& buffer) {
    if (buffer.format() != format_)
        return false;
    std::size_t frameBytes = format_.channelCount * sizeof(float);
    std::size_t room = std::size_t{buffer.frameCapacity()} * frameBytes;
    std::size_t filled = 0;
    auto* out = reinterpret_cast<char*>(buffer.samples());
    while (filled < room && chunk_ < chunks_.size()) {
        GstBuffer* chunk = chunks_[chunk_];
        std::size_t count = std::min(room - filled, gst_buffer_get_size(chunk) - offset_);
        gst_buffer_extract(chunk, offset_, out + filled, count);
        filled += count;
        offset_ += count;
        if (offset_ < gst_buffer_get_size(chunk))
            continue;
        gst_buffer_unref(chunk);
        chunks_[chunk_++] = nullptr;
        offset_ = 0;
    }
    buffer.setFrameLength(static_cast<AudioFrameCount>(filled / frameBytes));
    return true;
}

} // namespace orrelith::platform
