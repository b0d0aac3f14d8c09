/* The yardstick for the host's start and CPU: the least a GTK 4 and WebKitGTK 6.0 program does to show one
 * page full screen on every monitor. It prints the same "paint-trace:" lines as the host does with
 * ORRELITH_PAINT_TRACE set, so that both are timed by one rule.
 *
 *   minimal-webkit URI
 */
#include <gtk/gtk.h>
#include <stdio.h>
#include <string.h>
#include <webkit/webkit.h>

static const char *after_next_frame =
    "return new Promise(done => requestAnimationFrame(() => requestAnimationFrame(() => done(location.href))));";

static void after_paint(GdkFrameClock *clock, gpointer unused) {
    (void)unused;
    fprintf(stderr, "paint-trace: window %lld\n", (long long)g_get_monotonic_time());
    g_signal_handlers_disconnect_by_func(clock, (gpointer)after_paint, NULL);
}

static void mapped(GtkWidget *window, gpointer unused) {
    (void)unused;
    GdkFrameClock *clock = gtk_widget_get_frame_clock(window);
    if (clock)
        g_signal_connect(clock, "after-paint", G_CALLBACK(after_paint), NULL);
}

static void page_drawn(GObject *view, GAsyncResult *result, gpointer unused) {
    (void)unused;
    gint64 now = g_get_monotonic_time();
    JSCValue *href = webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(view), result, NULL);
    if (!href)
        return;
    char *text = jsc_value_to_string(href);
    fprintf(stderr, "paint-trace: page %lld %s\n", (long long)now, text);
    g_free(text);
    g_object_unref(href);
}

static void load_changed(WebKitWebView *view, WebKitLoadEvent event, gpointer unused) {
    (void)unused;
    if (event == WEBKIT_LOAD_FINISHED)
        webkit_web_view_call_async_javascript_function(view, after_next_frame, -1, NULL, NULL, NULL, NULL, page_drawn,
                                                       NULL);
}

static void show_on(GdkMonitor *monitor, const char *uri) {
    GtkWindow *window = GTK_WINDOW(gtk_window_new());
    gtk_window_set_decorated(window, FALSE);
    GtkWidget *view = webkit_web_view_new();
    g_signal_connect(view, "load-changed", G_CALLBACK(load_changed), NULL);
    g_signal_connect(window, "map", G_CALLBACK(mapped), NULL);
    gtk_window_set_child(window, view);
    gtk_window_fullscreen_on_monitor(window, monitor);
    gtk_window_present(window);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), uri);
}

int main(int argc, char **argv) {
    if (argc != 2 || strcmp(argv[1], "--help") == 0) {
        fprintf(stderr, "usage: minimal-webkit URI\n");
        return 2;
    }
    gtk_init();
    GListModel *monitors = gdk_display_get_monitors(gdk_display_get_default());
    guint count = g_list_model_get_n_items(monitors);
    for (guint i = 0; i < count; i++) {
        GdkMonitor *monitor = g_list_model_get_item(monitors, i);
        show_on(monitor, argv[1]);
        g_object_unref(monitor);
    }
    /* Runs until a signal ends it, as the host's run does. */
    GMainLoop *loop = g_main_loop_new(NULL, FALSE);
    g_main_loop_run(loop);
    return 0;
}
