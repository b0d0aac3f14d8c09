#include "Platform/Linux/Audio/GstBackgroundTaskPool.hpp"

#include <new>

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

namespace orrelith::platform {

namespace {

constexpr int lowestPriority = 19;

struct BackgroundThread {
    GstTaskPoolFunction work;
    void* data;
    pthread_t thread{};
};

void* runAtLowestPriority(void* started) {
    auto* thread = static_cast<BackgroundThread*>(started);
    // Only this thread: the nice value of a Linux thread is its own.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), lowestPriority);
    thread->work(thread->data);
    return nullptr;
}

gpointer push(GstTaskPool*, GstTaskPoolFunction work, gpointer data, GError** error) {
    auto* thread = new (std::nothrow) BackgroundThread{work, data};
    int failure = thread ? pthread_create(&thread->thread, nullptr, runAtLowestPriority, thread) : ENOMEM;
    if (failure == 0)
        return thread;
    delete thread;
    g_set_error(error, G_THREAD_ERROR, G_THREAD_ERROR_AGAIN, "no thread for a background task: %s",
                g_strerror(failure));
    return nullptr;
}

void join(GstTaskPool*, gpointer id) {
    auto* thread = static_cast<BackgroundThread*>(id);
    pthread_join(thread->thread, nullptr);
    delete thread;
}

} // namespace

struct OrrelithBackgroundTaskPool {
    GstTaskPool parent;
};

struct OrrelithBackgroundTaskPoolClass {
    GstTaskPoolClass parent;
};

G_DEFINE_TYPE(OrrelithBackgroundTaskPool, orrelith_background_task_pool, GST_TYPE_TASK_POOL)

static void orrelith_background_task_pool_class_init(OrrelithBackgroundTaskPoolClass* type) {
    // Neither prepare nor cleanup: there are no threads kept between tasks.
    type->parent.prepare = [](GstTaskPool*, GError**) {};
    type->parent.cleanup = [](GstTaskPool*) {};
    type->parent.push = push;
    type->parent.join = join;
}

static void orrelith_background_task_pool_init(OrrelithBackgroundTaskPool*) {}

GstTaskPool* GstBackgroundTaskPool::create() {
    auto* pool = GST_TASK_POOL(g_object_new(orrelith_background_task_pool_get_type(), nullptr));
    return GST_TASK_POOL(gst_object_ref_sink(pool));
}

GstBusSyncReply GstBackgroundTaskPool::adoptTasks(GstBus*, GstMessage* message, gpointer pool) {
    GstStreamStatusType type = GST_STREAM_STATUS_TYPE_CREATE;
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_STREAM_STATUS) {
        gst_message_parse_stream_status(message, &type, nullptr);
        const GValue* object = gst_message_get_stream_status_object(message);
        if (type == GST_STREAM_STATUS_TYPE_CREATE && object && G_VALUE_HOLDS_OBJECT(object) &&
            GST_IS_TASK(g_value_get_object(object)))
            gst_task_set_pool(GST_TASK(g_value_get_object(object)), GST_TASK_POOL(pool));
    }
    return GST_BUS_PASS;
}

} // namespace orrelith::platform
