#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include <gtk/gtk.h>

namespace orrelith::platform::viewcontainer {

// The widget behind every plain view: a GtkWidget subclass that draws an optional background colour, may
// hold one content widget filling it (a label's text, a picture), and places each further child at its
// backend's frame (y-up, flipped with the container's height), stacked back to front in insertion order.
// A shadow, when set, is cast by everything the container draws. Children are not clipped, so that shadows
// may spill over the edges. Main thread only.
GtkWidget* create();
bool isContainer(GtkWidget* widget);

// `content` (or nothing) becomes the bottom child, sized to the container.
void setContent(GtkWidget* container, GtkWidget* content);
// `child` becomes the subview at `index`, back to front, above the content.
void insertChild(GtkWidget* container, GtkWidget* child, std::size_t index);
// Removes a subview or the content; nothing when `child` is not a child of the container.
void removeChild(GtkWidget* container, GtkWidget* child);
void setBackground(GtkWidget* container, std::optional<GdkRGBA> color);
void setShadow(GtkWidget* container, std::optional<GskShadow> shadow);
// Called after an allocation that changed the container's size, with the new size.
void setResizeHandler(GtkWidget* container, std::function<void(int width, int height)> handler);

} // namespace orrelith::platform::viewcontainer
