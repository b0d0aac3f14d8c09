#include <gtest/gtest.h>
#include <gst/gst.h>

#include "Platform/Linux/Audio/GstBackgroundTaskPool.hpp"

#include <atomic>

#include <sys/resource.h>
#include <unistd.h>

using namespace orrelith::platform;

namespace {

// The nice value of the thread that streamed the last buffer into a fake sink, with or without the pool.
int streamingPriority(bool inBackground) {
    GstElement* pipeline = gst_parse_launch("audiotestsrc num-buffers=3 ! fakesink name=sink", nullptr);
    gst_object_ref_sink(pipeline);
    GstBus* bus = gst_element_get_bus(pipeline);
    if (inBackground)
        gst_bus_set_sync_handler(bus, GstBackgroundTaskPool::adoptTasks, GstBackgroundTaskPool::create(),
                                 gst_object_unref);
    static std::atomic<int> seen;
    seen = -100;
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "sink");
    GstPad* pad = gst_element_get_static_pad(sink, "sink");
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, [](GstPad*, GstPadProbeInfo*, gpointer) {
        seen = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
        return GST_PAD_PROBE_OK;
    }, nullptr, nullptr);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    gst_message_unref(gst_bus_timed_pop_filtered(bus, 10 * GST_SECOND, GST_MESSAGE_EOS));
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pad);
    gst_object_unref(sink);
    gst_object_unref(bus);
    gst_object_unref(pipeline);
    return seen;
}

TEST(GstBackgroundTaskPoolTest, StreamsAtTheLowestPriorityAndLeavesSharedThreadsAsTheyWere) {
    gst_init(nullptr, nullptr);
    EXPECT_EQ(streamingPriority(true), 19);
    EXPECT_EQ(streamingPriority(false), getpriority(PRIO_PROCESS, 0)) << "a later pipeline streams as before";
    EXPECT_EQ(streamingPriority(true), 19);
}

} // namespace
