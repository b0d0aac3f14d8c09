#include "Platform/Linux/Audio/GstAudioOutput.hpp"

#include "Platform/Linux/Audio/GstObjectRef.hpp"

namespace orrelith::platform {

namespace {

GstAudioOutput::SinkMaker factory(const char* name) {
    return [name]() -> GstElement* { return gst_element_factory_make(name, nullptr); };
}

} // namespace

// autoaudiosink is not among these: with no device it quietly plays into a fake sink, so a start that
// should fail would seem to succeed.
GstAudioOutput GstAudioOutput::system() { return GstAudioOutput{{factory("pulsesink"), factory("alsasink")}}; }

GstAudioOutput GstAudioOutput::described(std::string description) {
    return GstAudioOutput{{[description]() -> GstElement* {
        GError* error = nullptr;
        GstElement* element = gst_parse_bin_from_description(description.c_str(), TRUE, &error);
        if (error) {
            g_error_free(error);
            if (element)
                gst_object_unref(gst_object_ref_sink(element));
            return nullptr;
        }
        return element;
    }}};
}

} // namespace orrelith::platform
