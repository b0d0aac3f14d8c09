#pragma once

#include "Platform/Audio/AudioFormat.hpp"
#include "Platform/Linux/Audio/GstAudioOutput.hpp"

#include <cstddef>
#include <memory>
#include <vector>

typedef struct _GstElement GstElement;

namespace orrelith::platform {

// An output that hands what an engine plays to its caller instead of a device, for tests and tools: an
// appsink that takes 32-bit float interleaved audio in a fixed format, without a clock (as fast as the
// pipeline makes it). At most a few buffers wait in it, so the pipeline runs only as fast as they are taken.
//
// The sink maker runs on the main thread (in AudioEngine::start); `pull` and `discard` block the calling
// thread (any thread but one that must keep the pipeline going) until enough has arrived.
class GstAudioCapture : public std::enable_shared_from_this<GstAudioCapture> {
public:
    static std::shared_ptr<GstAudioCapture> create(const AudioFormat& format);
    ~GstAudioCapture();
    GstAudioCapture(const GstAudioCapture&) = delete;
    GstAudioCapture& operator=(const GstAudioCapture&) = delete;

    // Every start of an engine playing into this output gets a new sink; the capture reads the newest one.
    GstAudioOutput output();
    // The next `frames` frames as they arrived, or fewer if the stream stops or nothing comes for
    // `patienceSeconds`. The rest of the last buffer taken is dropped.
    std::vector<float> pull(std::size_t frames, double patienceSeconds = 10);
    // The next buffer as it arrived (a buffer carries one volume), or nothing (empty) on the same terms.
    std::vector<float> pullBuffer(double patienceSeconds = 10);
    // Drops what still waits in the sink. A stopped pipeline leaves the buffers it had already delivered
    // there, to be pulled after the next start.
    void drain();
    // Takes and drops `frames` frames, as a null output; answers how many arrived.
    std::size_t discard(std::size_t frames, double patienceSeconds = 10);

private:
    explicit GstAudioCapture(const AudioFormat& format) : format_(format) {}
    GstElement* makeSink();

    AudioFormat format_;
    GstElement* sink_ = nullptr;
};

} // namespace orrelith::platform
