#pragma once

#include <functional>
#include <string>
#include <vector>

typedef struct _GstElement GstElement;

namespace orrelith::platform {

// Where an engine's sound goes: sink makers, tried in order at every start; the first sink that opens is
// used. A maker returns a new element (floating or not; the engine takes a reference), or null when it
// cannot make one. Makers run on the main thread, inside AudioEngine::start.
struct GstAudioOutput {
    using SinkMaker = std::function<GstElement*()>;
    std::vector<SinkMaker> sinks;

    // The system's sound: the sound server (PulseAudio, or PipeWire through its PulseAudio service), else
    // ALSA's default device. Each fails to open at once when there is no device; none hides the failure
    // behind a fake sink.
    static GstAudioOutput system();
    // A sink made from a gst-launch description, e.g. "fakesink sync=false" or
    // "identity error-after=10 ! fakesink", as a bin whose sink pad is the first element's.
    static GstAudioOutput described(std::string description);
};

} // namespace orrelith::platform
