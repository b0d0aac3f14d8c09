#pragma once

#include "Platform/Views/Geometry.hpp"

#include <gtk/gtk.h>

namespace orrelith::platform {

// Every Linux view backend draws through one GTK widget. The backend holds a reference to the widget and
// remembers the view's frame (y-up, in the superview); a container backend lays its children's widgets out
// from those frames, flipping y with its own height. Main thread only.
class GtkWidgetBackend {
public:
    // Takes ownership of a floating or new reference to `widget`.
    explicit GtkWidgetBackend(GtkWidget* widget);
    virtual ~GtkWidgetBackend();
    GtkWidgetBackend(const GtkWidgetBackend&) = delete;
    GtkWidgetBackend& operator=(const GtkWidgetBackend&) = delete;

    GtkWidget* widget() const { return widget_; }
    const Rect& frame() const { return frame_; }
    // Remembers the frame and asks the parent widget for a new layout.
    void storeFrame(const Rect& frame);
    // The backend that owns `widget`, or null.
    static GtkWidgetBackend* of(GtkWidget* widget);

private:
    GtkWidget* widget_;
    Rect frame_;
};

} // namespace orrelith::platform
