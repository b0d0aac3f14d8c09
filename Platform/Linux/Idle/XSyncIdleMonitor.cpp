#include "Platform/Linux/Idle/XSyncIdleMonitor.hpp"

#include "Platform/Linux/System/GlibSources.hpp"

#include <cmath>
#include <cstring>
#include <utility>

#include <X11/Xlib.h>
#include <X11/extensions/sync.h>
#include <glib-unix.h>

namespace orrelith::platform {

struct XSyncIdleMonitor::Connection {
    Display* display = nullptr;
    int eventBase = 0;
    XSyncCounter idleTime = None;
    XSyncAlarm idleAlarm = None;
    XSyncAlarm backAlarm = None;
    guint watch = 0;
};

namespace {

XSyncValue milliseconds(double seconds) {
    XSyncValue value;
    auto total = static_cast<long long>(std::llround(seconds * 1000));
    XSyncIntsToValue(&value, static_cast<unsigned>(total & 0xffffffffLL), static_cast<int>(total >> 32));
    return value;
}

XSyncAlarm makeAlarm(Display* display, XSyncCounter counter, XSyncValue value, XSyncTestType test) {
    XSyncAlarmAttributes attributes;
    attributes.trigger.counter = counter;
    attributes.trigger.value_type = XSyncAbsolute;
    attributes.trigger.wait_value = value;
    attributes.trigger.test_type = test;
    XSyncIntToValue(&attributes.delta, 0);
    attributes.events = True;
    auto mask = XSyncCACounter | XSyncCAValueType | XSyncCAValue | XSyncCATestType | XSyncCADelta | XSyncCAEvents;
    return XSyncCreateAlarm(display, mask, &attributes);
}

} // namespace

XSyncIdleMonitor::XSyncIdleMonitor(std::string display) : displayName_(std::move(display)) {}

XSyncIdleMonitor::~XSyncIdleMonitor() {
    if (!x_)
        return;
    destroyAlarms();
    if (x_->watch)
        g_source_remove(x_->watch);
    XCloseDisplay(x_->display);
}

bool XSyncIdleMonitor::connect() {
    if (std::exchange(tried_, true))
        return x_ != nullptr;
    Display* display = XOpenDisplay(displayName_.empty() ? nullptr : displayName_.c_str());
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!display)
        return false;
    XSyncCounter idleTime = None;
    if (XSyncQueryExtension(display, &eventBase, &errorBase) && XSyncInitialize(display, &major, &minor)) {
        int count = 0;
        XSyncSystemCounter* counters = XSyncListSystemCounters(display, &count);
        for (int i = 0; i < count; ++i)
            if (std::strcmp(counters[i].name, "IDLETIME") == 0)
                idleTime = counters[i].counter;
        if (counters)
            XSyncFreeSystemCounterList(counters);
    }
    if (idleTime == None) {
        XCloseDisplay(display);
        return false;
    }
    x_ = std::make_unique<Connection>(Connection{display, eventBase, idleTime, None, None, 0});
    // The watch ends in the destructor, before `this` goes.
    x_->watch = g_unix_fd_add(
        ConnectionNumber(display), G_IO_IN,
        [](gint, GIOCondition, gpointer self) -> gboolean {
            glib::runGuarded([self] { static_cast<XSyncIdleMonitor*>(self)->readEvents(); }, "idle events");
            return G_SOURCE_CONTINUE;
        },
        this);
    return true;
}

bool XSyncIdleMonitor::isAvailable() { return connect(); }

void XSyncIdleMonitor::watch(double seconds, std::function<void()> idle, std::function<void()> active) {
    if (!connect())
        return;
    destroyAlarms();
    reports_.begin(std::move(idle), std::move(active));
    auto delay = milliseconds(seconds);
    x_->idleAlarm = makeAlarm(x_->display, x_->idleTime, delay, XSyncPositiveTransition);
    x_->backAlarm = makeAlarm(x_->display, x_->idleTime, delay, XSyncNegativeTransition);
    // The rising alarm only sees the counter pass the delay; a user idle for longer already is idle now.
    XSyncValue now;
    if (XSyncQueryCounter(x_->display, x_->idleTime, &now) && XSyncValueGreaterOrEqual(now, delay))
        reports_.reportLater(true);
    XFlush(x_->display);
}

void XSyncIdleMonitor::stop() {
    reports_.end();
    if (x_) {
        destroyAlarms();
        XFlush(x_->display);
    }
}

void XSyncIdleMonitor::destroyAlarms() {
    for (XSyncAlarm* alarm : {&x_->idleAlarm, &x_->backAlarm})
        if (*alarm != None)
            XSyncDestroyAlarm(x_->display, std::exchange(*alarm, None));
}

void XSyncIdleMonitor::readEvents() {
    while (XPending(x_->display)) {
        XEvent event;
        XNextEvent(x_->display, &event);
        if (event.type != x_->eventBase + XSyncAlarmNotify)
            continue;
        auto* notify = reinterpret_cast<XSyncAlarmNotifyEvent*>(&event);
        if (notify->state == XSyncAlarmDestroyed)
            continue;
        if (notify->alarm == x_->idleAlarm)
            reports_.reportLater(true);
        else if (notify->alarm == x_->backAlarm)
            reports_.reportLater(false);
    }
}


} // namespace orrelith::platform
