#include "Platform/Linux/Views/GtkWidgetBackend.hpp"

#include "Platform/Linux/Views/GtkViewContainer.hpp"

namespace orrelith::platform {

namespace {
constexpr const char* backendKey = "orrelith-backend";
}

GtkWidgetBackend::GtkWidgetBackend(GtkWidget* widget) : widget_(widget) {
    if (g_object_is_floating(widget_))
        g_object_ref_sink(widget_);
    g_object_set_data(G_OBJECT(widget_), backendKey, this);
}

GtkWidgetBackend::~GtkWidgetBackend() {
    GtkWidget* parent = gtk_widget_get_parent(widget_);
    if (viewcontainer::isContainer(parent))
        viewcontainer::removeChild(parent, widget_);
    else if (parent && GTK_IS_WINDOW(parent))
        gtk_window_set_child(GTK_WINDOW(parent), nullptr);
    else if (parent)
        gtk_widget_unparent(widget_);
    g_object_set_data(G_OBJECT(widget_), backendKey, nullptr);
    g_object_unref(widget_);
}

void GtkWidgetBackend::storeFrame(const Rect& frame) {
    if (frame == frame_)
        return;
    frame_ = frame;
    if (GtkWidget* parent = gtk_widget_get_parent(widget_))
        gtk_widget_queue_allocate(parent);
}

GtkWidgetBackend* GtkWidgetBackend::of(GtkWidget* widget) {
    if (!widget)
        return nullptr;
    return static_cast<GtkWidgetBackend*>(g_object_get_data(G_OBJECT(widget), backendKey));
}

} // namespace orrelith::platform
