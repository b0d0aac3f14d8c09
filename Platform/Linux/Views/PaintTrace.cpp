#include "Platform/Linux/Views/PaintTrace.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtk/gtk.h>
#include <webkit/webkit.h>

namespace orrelith::platform {

namespace {

// The second animation frame after the call starts once the first has been drawn and handed over.
constexpr const char* afterNextFrame =
    "return new Promise(done => requestAnimationFrame(() => requestAnimationFrame(() => done(location.href))));";

void afterPaint(GdkFrameClock* clock, gpointer) {
    std::fprintf(stderr, "paint-trace: window %lld\n", static_cast<long long>(g_get_monotonic_time()));
    g_signal_handlers_disconnect_by_func(clock, reinterpret_cast<gpointer>(afterPaint), nullptr);
}

void pageDrawn(GObject* view, GAsyncResult* result, gpointer) {
    gint64 now = g_get_monotonic_time();
    GError* error = nullptr;
    JSCValue* href = webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(view), result, &error);
    if (!href) {
        g_clear_error(&error);
        return;
    }
    char* text = jsc_value_to_string(href);
    std::fprintf(stderr, "paint-trace: page %lld %s\n", static_cast<long long>(now), text);
    g_free(text);
    g_object_unref(href);
}

} // namespace

bool PaintTrace::enabled() {
    static const bool on = std::getenv("ORRELITH_PAINT_TRACE") != nullptr;
    return on;
}

void PaintTrace::windowMapped(GtkWidget* window) {
    if (!enabled())
        return;
    if (GdkFrameClock* clock = gtk_widget_get_frame_clock(window))
        g_signal_connect(clock, "after-paint", G_CALLBACK(afterPaint), nullptr);
}

void PaintTrace::pageLoaded(WebKitWebView* view) {
    const char* uri = webkit_web_view_get_uri(view);
    if (!enabled() || !uri || std::strcmp(uri, "about:blank") == 0)
        return;
    webkit_web_view_call_async_javascript_function(view, afterNextFrame, -1, nullptr, nullptr, nullptr, nullptr,
                                                   pageDrawn, nullptr);
}

} // namespace orrelith::platform
