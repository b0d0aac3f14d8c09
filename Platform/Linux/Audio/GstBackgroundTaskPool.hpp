#pragma once

#include <gst/gst.h>

namespace orrelith::platform {

// Streaming threads of their own at the lowest priority, for work that must leave the processor to the
// windows and pages: decoding a whole track before it plays. GStreamer's shared threads will not do, since
// a thread whose priority was lowered may not raise it again, and a later playback would run on it. Each
// task gets a new thread, joined when the task ends.
struct GstBackgroundTaskPool {
    // A new pool; the caller owns the one reference.
    static GstTaskPool* create();
    // A bus sync handler (data: a pool) that hands every task its pipeline creates to the pool, and passes
    // every message on. Runs on the threads that create the tasks.
    static GstBusSyncReply adoptTasks(GstBus* bus, GstMessage* message, gpointer pool);
};

} // namespace orrelith::platform
