#pragma once

#include <gst/gst.h>

#include <memory>

namespace orrelith::platform {

// Owns one reference to a GStreamer object and drops it when it goes.
struct GstObjectUnref {
    void operator()(gpointer object) const {
        if (object)
            gst_object_unref(object);
    }
};
template <typename T> using GstObjectRef = std::unique_ptr<T, GstObjectUnref>;

// Initialises GStreamer once per process; false when it cannot be had.
bool gstAvailable();

} // namespace orrelith::platform
