#pragma once

typedef struct _GtkWidget GtkWidget;
typedef struct _WebKitWebView WebKitWebView;

namespace orrelith::platform {

// Lines on stderr that tell a benchmark when something first reached the screen, with the monotonic clock's
// time in microseconds: "paint-trace: window <us>" after a window's first frame, "paint-trace: page <us>
// <uri>" once a page that finished loading has drawn a frame. Silent unless ORRELITH_PAINT_TRACE is set.
// Main thread only; the callbacks hold nothing of the caller's, so the window or view may go first.
struct PaintTrace {
    static bool enabled();
    // Call once the window is mapped.
    static void windowMapped(GtkWidget* window);
    // Call when the view's load finished.
    static void pageLoaded(WebKitWebView* view);
};

} // namespace orrelith::platform
