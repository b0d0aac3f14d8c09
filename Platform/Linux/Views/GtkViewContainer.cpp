#include "Platform/Linux/Views/GtkViewContainer.hpp"

#include "Platform/Linux/Views/GtkWidgetBackend.hpp"

#include <algorithm>
#include <cmath>

namespace orrelith::platform::viewcontainer {

namespace {

struct State {
    GtkWidget* content = nullptr;
    std::optional<GdkRGBA> background;
    std::optional<GskShadow> shadow;
    std::function<void(int, int)> onResize;
    int width = -1;
    int height = -1;
};

} // namespace

} // namespace orrelith::platform::viewcontainer

using orrelith::platform::viewcontainer::State;

extern "C" {

struct OrrelithViewContainer {
    GtkWidget parent_instance;
    State* state;
};

struct OrrelithViewContainerClass {
    GtkWidgetClass parent_class;
};

G_DEFINE_TYPE(OrrelithViewContainer, orrelith_view_container, GTK_TYPE_WIDGET)
}

namespace {

State& stateOf(GtkWidget* widget) {
    return *G_TYPE_CHECK_INSTANCE_CAST(widget, orrelith_view_container_get_type(), OrrelithViewContainer)->state;
}

// A widget is never given less than its minimum size (GTK refuses that); views may be smaller than a
// label's text, which then spills over like any unclipped content.
void allocateAt(GtkWidget* child, double x, double y, double width, double height) {
    int minWidth = 0;
    int minHeight = 0;
    gtk_widget_measure(child, GTK_ORIENTATION_HORIZONTAL, -1, &minWidth, nullptr, nullptr, nullptr);
    gtk_widget_measure(child, GTK_ORIENTATION_VERTICAL, -1, &minHeight, nullptr, nullptr, nullptr);
    int w = std::max(minWidth, static_cast<int>(std::lround(std::max(0.0, width))));
    int h = std::max(minHeight, static_cast<int>(std::lround(std::max(0.0, height))));
    graphene_point_t origin = GRAPHENE_POINT_INIT(static_cast<float>(x), static_cast<float>(y));
    gtk_widget_allocate(child, w, h, -1, gsk_transform_translate(nullptr, &origin));
}

void measure(GtkWidget*, GtkOrientation, int, int* minimum, int* natural, int*, int*) {
    *minimum = 0;
    *natural = 0;
}

void sizeAllocate(GtkWidget* widget, int width, int height, int) {
    auto& state = stateOf(widget);
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child; child = gtk_widget_get_next_sibling(child)) {
        auto* backend = orrelith::platform::GtkWidgetBackend::of(child);
        if (child == state.content || !backend) {
            allocateAt(child, 0, 0, width, height);
            continue;
        }
        const auto& frame = backend->frame();
        allocateAt(child, frame.minX(), height - frame.maxY(), frame.width(), frame.height());
    }
    if (width == state.width && height == state.height)
        return;
    state.width = width;
    state.height = height;
    if (state.onResize)
        state.onResize(width, height);
}

void snapshot(GtkWidget* widget, GtkSnapshot* snapshot) {
    auto& state = stateOf(widget);
    if (state.shadow)
        gtk_snapshot_push_shadow(snapshot, &*state.shadow, 1);
    if (state.background) {
        graphene_rect_t bounds = GRAPHENE_RECT_INIT(0, 0, static_cast<float>(gtk_widget_get_width(widget)),
                                                    static_cast<float>(gtk_widget_get_height(widget)));
        gtk_snapshot_append_color(snapshot, &*state.background, &bounds);
    }
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child; child = gtk_widget_get_next_sibling(child))
        gtk_widget_snapshot_child(widget, child, snapshot);
    if (state.shadow)
        gtk_snapshot_pop(snapshot);
}

void dispose(GObject* object) {
    auto* widget = GTK_WIDGET(object);
    while (GtkWidget* child = gtk_widget_get_first_child(widget))
        gtk_widget_unparent(child);
    stateOf(widget).content = nullptr;
    G_OBJECT_CLASS(orrelith_view_container_parent_class)->dispose(object);
}

void finalize(GObject* object) {
    delete G_TYPE_CHECK_INSTANCE_CAST(object, orrelith_view_container_get_type(), OrrelithViewContainer)->state;
    G_OBJECT_CLASS(orrelith_view_container_parent_class)->finalize(object);
}

} // namespace

extern "C" {

static void orrelith_view_container_class_init(OrrelithViewContainerClass* klass) {
    auto* objectClass = G_OBJECT_CLASS(klass);
    objectClass->dispose = dispose;
    objectClass->finalize = finalize;
    auto* widgetClass = GTK_WIDGET_CLASS(klass);
    widgetClass->measure = measure;
    widgetClass->size_allocate = sizeAllocate;
    widgetClass->snapshot = snapshot;
}

static void orrelith_view_container_init(OrrelithViewContainer* self) { self->state = new State(); }
}

namespace orrelith::platform::viewcontainer {

GtkWidget* create() { return GTK_WIDGET(g_object_new(orrelith_view_container_get_type(), nullptr)); }

bool isContainer(GtkWidget* widget) {
    return widget && G_TYPE_CHECK_INSTANCE_TYPE(widget, orrelith_view_container_get_type());
}

void setContent(GtkWidget* container, GtkWidget* content) {
    auto& state = stateOf(container);
    if (state.content == content)
        return;
    if (state.content && gtk_widget_get_parent(state.content) == container)
        gtk_widget_unparent(state.content);
    state.content = content;
    if (!content)
        return;
    if (gtk_widget_get_parent(content))
        gtk_widget_unparent(content);
    gtk_widget_insert_after(content, container, nullptr);
}

void insertChild(GtkWidget* container, GtkWidget* child, std::size_t index) {
    auto& state = stateOf(container);
    if (gtk_widget_get_parent(child))
        gtk_widget_unparent(child);
    GtkWidget* previous = state.content;
    GtkWidget* next = previous ? gtk_widget_get_next_sibling(previous) : gtk_widget_get_first_child(container);
    for (std::size_t i = 0; i < index && next; ++i) {
        previous = next;
        next = gtk_widget_get_next_sibling(next);
    }
    gtk_widget_insert_after(child, container, previous);
}

void removeChild(GtkWidget* container, GtkWidget* child) {
    if (!child || gtk_widget_get_parent(child) != container)
        return;
    auto& state = stateOf(container);
    if (state.content == child)
        state.content = nullptr;
    gtk_widget_unparent(child);
}

void setBackground(GtkWidget* container, std::optional<GdkRGBA> color) {
    stateOf(container).background = color;
    gtk_widget_queue_draw(container);
}

void setShadow(GtkWidget* container, std::optional<GskShadow> shadow) {
    stateOf(container).shadow = shadow;
    gtk_widget_queue_draw(container);
}

void setResizeHandler(GtkWidget* container, std::function<void(int, int)> handler) {
    stateOf(container).onResize = std::move(handler);
}

} // namespace orrelith::platform::viewcontainer
