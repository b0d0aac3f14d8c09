#include "Platform/Linux/Views/GtkScreenshot.hpp"

#include "Platform/Linux/Views/GtkWindowBackend.hpp"

#include <algorithm>
#include <cmath>

namespace orrelith::platform {

namespace {

struct Drawn {
    GtkWidget* widget;
    Rect frame;
};

std::vector<Drawn> drawnWindows(const std::vector<std::shared_ptr<Window>>& windows) {
    std::vector<Drawn> drawn;
    for (auto& window : windows) {
        auto* backend = window ? dynamic_cast<GtkWindowBackend*>(&window->backend()) : nullptr;
        if (!backend || window->isClosed())
            continue;
        auto* widget = GTK_WIDGET(backend->gtkWindow());
        if (!gtk_widget_get_mapped(widget) || gtk_widget_get_width(widget) <= 0)
            continue;
        // The whole widget (title bar included), hanging from the frame's top-left corner.
        Rect frame = window->frame();
        double width = gtk_widget_get_width(widget);
        double height = gtk_widget_get_height(widget);
        drawn.push_back({widget, Rect::make(frame.minX(), frame.maxY() - height, width, height)});
    }
    return drawn;
}

// Every window at its place in `area` (global points, y upward) on a black ground; the image is y-down.
GskRenderNode* composeNode(const std::vector<Drawn>& drawn, const Rect& area) {
    GtkSnapshot* snapshot = gtk_snapshot_new();
    GdkRGBA black{0, 0, 0, 1};
    graphene_rect_t ground = GRAPHENE_RECT_INIT(0, 0, static_cast<float>(area.width()), static_cast<float>(area.height()));
    gtk_snapshot_append_color(snapshot, &black, &ground);
    for (auto& window : drawn) {
        GdkPaintable* paintable = gtk_widget_paintable_new(window.widget);
        graphene_point_t place = GRAPHENE_POINT_INIT(static_cast<float>(window.frame.minX() - area.minX()),
                                                     static_cast<float>(area.maxY() - window.frame.maxY()));
        gtk_snapshot_save(snapshot);
        gtk_snapshot_translate(snapshot, &place);
        gdk_paintable_snapshot(paintable, GDK_SNAPSHOT(snapshot), window.frame.width(), window.frame.height());
        gtk_snapshot_restore(snapshot);
        g_object_unref(paintable);
    }
    return gtk_snapshot_free_to_node(snapshot);
}

// The smallest rectangle holding every window.
Rect bounds(const std::vector<Drawn>& drawn) {
    Rect first = drawn.front().frame;
    double minX = first.minX(), minY = first.minY(), maxX = first.maxX(), maxY = first.maxY();
    for (auto& [widget, frame] : drawn) {
        minX = std::min(minX, frame.minX());
        minY = std::min(minY, frame.minY());
        maxX = std::max(maxX, frame.maxX());
        maxY = std::max(maxY, frame.maxY());
    }
    return Rect::make(minX, minY, maxX - minX, maxY - minY);
}

} // namespace

std::optional<std::string> GtkScreenshot::write(const std::vector<std::shared_ptr<Window>>& windows,
                                                const std::filesystem::path& png) {
    auto drawn = drawnWindows(windows);
    if (drawn.empty())
        return "no window is on screen yet";
    auto area = bounds(drawn);
    area.size = Size{std::ceil(area.width()), std::ceil(area.height())};
    GskRenderNode* node = composeNode(drawn, area);
    GskRenderer* renderer = gtk_native_get_renderer(GTK_NATIVE(drawn.front().widget));
    graphene_rect_t viewport = GRAPHENE_RECT_INIT(0, 0, static_cast<float>(area.width()), static_cast<float>(area.height()));
    GdkTexture* texture = renderer ? gsk_renderer_render_texture(renderer, node, &viewport) : nullptr;
    gsk_render_node_unref(node);
    if (!texture)
        return "the windows could not be drawn";
    bool saved = gdk_texture_save_to_png(texture, png.c_str());
    g_object_unref(texture);
    if (!saved)
        return "cannot write " + png.string();
    return std::nullopt;
}

} // namespace orrelith::platform
