#include "OptionsHarness.hpp"

#include "Platform/Fake/System/FakeSystem.hpp"
#include "Platform/Linux/LinuxPlatform.hpp"
#include "Platform/Platform.hpp"

#include <gtk/gtk.h>

namespace options_harness {

std::shared_ptr<orrelith::platform::FakeSystem> install(const std::filesystem::path& bundle) {
    auto services = orrelith::platform::linuxServices();
    auto system = std::make_shared<orrelith::platform::FakeSystem>();
    system->codeBundle = services.system->bundleAt(bundle);
    system->homeFolderValue = services.system->homeFolder();
    services.system = system;
    orrelith::platform::install(services);
    return system;
}

namespace {

struct FrameWait {
    bool painted = false;
    long long at = 0;
};

long long waitForPaint(GtkWindow* window, long long start) {
    FrameWait wait;
    GdkFrameClock* clock = gdk_surface_get_frame_clock(gtk_native_get_surface(GTK_NATIVE(window)));
    auto handler = g_signal_connect(clock, "after-paint", G_CALLBACK(+[](GdkFrameClock*, gpointer data) {
                                        auto* frame = static_cast<FrameWait*>(data);
                                        frame->painted = true;
                                        frame->at = g_get_monotonic_time();
                                    }),
                                    &wait);
    while (!wait.painted)
        g_main_context_iteration(nullptr, TRUE);
    g_signal_handler_disconnect(clock, handler);
    return wait.at - start;
}

} // namespace

long long presentAndWaitForFrame(GtkWindow* window, long long start) {
    gtk_widget_realize(GTK_WIDGET(window));
    gtk_window_present(window);
    return waitForPaint(window, start);
}

long long waitForNextFrame(GtkWindow* window, long long start) { return waitForPaint(window, start); }

void settle(double seconds) {
    gint64 end = g_get_monotonic_time() + gint64(seconds * 1e6);
    while (g_get_monotonic_time() < end)
        if (!g_main_context_iteration(nullptr, FALSE))
            g_usleep(2000);
}

bool writePNG(GtkWindow* window, const std::filesystem::path& file) {
    GtkWidget* widget = GTK_WIDGET(window);
    GdkPaintable* paintable = gtk_widget_paintable_new(widget);
    GtkSnapshot* snapshot = gtk_snapshot_new();
    double width = gtk_widget_get_width(widget), height = gtk_widget_get_height(widget);
    gdk_paintable_snapshot(paintable, GDK_SNAPSHOT(snapshot), width, height);
    GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
    g_object_unref(paintable);
    if (!node)
        return false;
    graphene_rect_t viewport = GRAPHENE_RECT_INIT(0, 0, float(width), float(height));
    GdkTexture* texture = gsk_renderer_render_texture(gtk_native_get_renderer(GTK_NATIVE(window)), node, &viewport);
    gsk_render_node_unref(node);
    bool written = texture && gdk_texture_save_to_png(texture, file.c_str());
    if (texture)
        g_object_unref(texture);
    return written;
}

std::vector<orrelith::DisplayInfo> twoDisplays() {
    using orrelith::platform::Rect;
    return {{"0B9D3C52-1F6E-4A3B-9E55-2B7C8D1A4E01", "Studio Display", Rect::make(0, 0, 2560, 1440)},
            {"5A1E7F20-8C43-4D19-B6A2-91E4C0D3F702", "Side Monitor", Rect::make(2560, 360, 1920, 1080)}};
}

} // namespace options_harness
