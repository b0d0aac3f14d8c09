#include "Platform/Linux/Views/GtkWindowBackend.hpp"

#include "Platform/Linux/System/GlibSources.hpp"
#include "Platform/Linux/Views/GtkViewContainer.hpp"
#include "Platform/Linux/Views/PaintTrace.hpp"
#include "Platform/Linux/Views/GtkWidgetBackend.hpp"
#include "Platform/Views/View.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace orrelith::platform {

namespace {

bool has(WindowStyle style, WindowStyle flag) {
    return (static_cast<unsigned>(style) & static_cast<unsigned>(flag)) != 0;
}

int pixels(double points) { return std::max(1, static_cast<int>(std::lround(points))); }

std::optional<UserEvent::Kind> userEventKind(GdkEventType type) {
    switch (type) {
    case GDK_KEY_PRESS:
        return UserEvent::Kind::KeyPress;
    // The pointer coming into the window tells where it is as much as a motion does.
    case GDK_MOTION_NOTIFY:
    case GDK_ENTER_NOTIFY:
        return UserEvent::Kind::PointerMotion;
    case GDK_BUTTON_PRESS:
    case GDK_TOUCH_BEGIN:
        return UserEvent::Kind::ButtonPress;
    case GDK_SCROLL:
        return UserEvent::Kind::Scroll;
    default:
        return std::nullopt;
    }
}

} // namespace

GtkWindowBackend::GtkWindowBackend(Window& window, const Rect& contentRect, WindowStyle style,
                                   std::shared_ptr<GdkScreenList> screens)
    : owner_(window), screens_(std::move(screens)), window_(GTK_WINDOW(gtk_window_new())),
      root_(viewcontainer::create()), frame_(contentRect) {
    g_object_ref(window_);
    gtk_window_set_decorated(window_, style != WindowStyle::Borderless);
    gtk_window_set_resizable(window_, has(style, WindowStyle::Resizable));
    gtk_window_set_deletable(window_, has(style, WindowStyle::Closable));
    gtk_window_set_default_size(window_, pixels(contentRect.width()), pixels(contentRect.height()));
    gtk_window_set_child(window_, root_);
    viewcontainer::setResizeHandler(root_, [this](int width, int height) { rootResized(width, height); });
    g_signal_connect(window_, "map", G_CALLBACK(mapped), this);
    g_signal_connect(window_, "unmap", G_CALLBACK(unmapped), this);
    g_signal_connect(window_, "close-request", G_CALLBACK(closeRequested), this);
    g_signal_connect(window_, "realize", G_CALLBACK(realized), this);
    g_signal_connect(window_, "unrealize", G_CALLBACK(+[](GtkWidget*, gpointer self) {
                         static_cast<GtkWindowBackend*>(self)->forgetSurface();
                     }), this);
    events_ = gtk_event_controller_legacy_new();
    gtk_event_controller_set_propagation_phase(events_, GTK_PHASE_CAPTURE);
    g_signal_connect(events_, "event", G_CALLBACK(eventSeen), this);
    gtk_widget_add_controller(GTK_WIDGET(window_), events_);
}

GtkWindowBackend::~GtkWindowBackend() {
    if (pendingReport_)
        g_source_remove(pendingReport_);
    viewcontainer::setResizeHandler(root_, nullptr);
    g_signal_handlers_disconnect_by_data(window_, this);
    stopWatchingPointerPlacement();
    forgetSurface();
    if (fullScreenMonitor_)
        g_object_unref(fullScreenMonitor_);
    // The window widget (kept by our reference) still holds the controller here.
    g_signal_handlers_disconnect_by_data(events_, this);
    viewcontainer::setContent(root_, nullptr);
    if (!destroyed_)
        gtk_window_destroy(window_);
    g_object_unref(window_);
}

void GtkWindowBackend::setContentView(View* view) {
    auto* backend = view ? dynamic_cast<GtkWidgetBackend*>(&view->backend()) : nullptr;
    viewcontainer::setContent(root_, backend ? backend->widget() : nullptr);
}

void GtkWindowBackend::setFrame(const Rect& frame) {
    frame_ = frame;
    gtk_window_set_default_size(window_, pixels(frame.width()), pixels(frame.height()));
}

void GtkWindowBackend::setTitle(const std::string& title) { gtk_window_set_title(window_, title.c_str()); }

void GtkWindowBackend::show() {
    if (!destroyed_)
        gtk_window_present(window_);
}

void GtkWindowBackend::hide() { gtk_widget_set_visible(GTK_WIDGET(window_), FALSE); }

void GtkWindowBackend::close() {
    if (destroyed_)
        return;
    destroyed_ = true;
    viewcontainer::setContent(root_, nullptr);
    gtk_window_destroy(window_);
}

void GtkWindowBackend::makeFullScreen(const Screen& screen) {
    fullScreenFrame_ = screen.frame();
    frame_ = screen.frame();
    gtk_window_set_default_size(window_, pixels(frame_.width()), pixels(frame_.height()));
    auto* monitorScreen = dynamic_cast<const GdkMonitorScreen*>(&screen);
    if (fullScreenMonitor_)
        g_object_unref(std::exchange(fullScreenMonitor_, nullptr));
    if (monitorScreen) {
        fullScreenMonitor_ = GDK_MONITOR(g_object_ref(monitorScreen->monitor()));
        gtk_window_fullscreen_on_monitor(window_, monitorScreen->monitor());
    } else {
        gtk_window_fullscreen(window_);
    }
}

void GtkWindowBackend::beginSheet(WindowBackend& sheet) {
    auto* other = dynamic_cast<GtkWindowBackend*>(&sheet);
    if (!other || other->destroyed_)
        return;
    gtk_window_set_transient_for(other->window_, window_);
    gtk_window_set_modal(other->window_, TRUE);
    gtk_window_present(other->window_);
}

void GtkWindowBackend::endSheet(WindowBackend& sheet) {
    auto* other = dynamic_cast<GtkWindowBackend*>(&sheet);
    if (!other || other->destroyed_)
        return;
    gtk_widget_set_visible(GTK_WIDGET(other->window_), FALSE);
    gtk_window_set_modal(other->window_, FALSE);
    gtk_window_set_transient_for(other->window_, nullptr);
}

std::shared_ptr<Screen> GtkWindowBackend::screen() const {
    auto screens = screens_->screens();
    if (auto placed = placedScreen())
        return placed;
    for (auto& candidate : screens)
        if (candidate->frame().intersects(frame_))
            return candidate;
    return nullptr;
}

std::shared_ptr<Screen> GtkWindowBackend::placedScreen() const {
    if (destroyed_)
        return nullptr;
    bool onAskedMonitor = std::find(entered_.begin(), entered_.end(), fullScreenMonitor_) != entered_.end();
    if (fullScreenMonitor_ && (entered_.empty() || onAskedMonitor))
        if (auto asked = screens_->screenFor(fullScreenMonitor_))
            return asked;
    for (auto* monitor : entered_)
        if (auto found = screens_->screenFor(monitor))
            return found;
    return nullptr;
}

void GtkWindowBackend::realized(GtkWidget* widget, gpointer self) {
    auto* backend = static_cast<GtkWindowBackend*>(self);
    backend->forgetSurface();
    GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(widget));
    if (!surface)
        return;
    backend->monitoredSurface_ = GDK_SURFACE(g_object_ref(surface));
    g_signal_connect(surface, "enter-monitor", G_CALLBACK(monitorEntered), backend);
    g_signal_connect(surface, "leave-monitor", G_CALLBACK(monitorLeft), backend);
}

void GtkWindowBackend::monitorEntered(GdkSurface*, GdkMonitor* monitor, gpointer self) {
    auto* backend = static_cast<GtkWindowBackend*>(self);
    if (std::find(backend->entered_.begin(), backend->entered_.end(), monitor) == backend->entered_.end())
        backend->entered_.push_back(GDK_MONITOR(g_object_ref(monitor)));
}

void GtkWindowBackend::monitorLeft(GdkSurface*, GdkMonitor* monitor, gpointer self) {
    auto& entered = static_cast<GtkWindowBackend*>(self)->entered_;
    if (auto found = std::find(entered.begin(), entered.end(), monitor); found != entered.end()) {
        entered.erase(found);
        g_object_unref(monitor);
    }
}

void GtkWindowBackend::forgetSurface() {
    for (auto* monitor : entered_)
        g_object_unref(monitor);
    entered_.clear();
    if (!monitoredSurface_)
        return;
    // By function: the surface also carries the pointer watch's handler with the same data.
    g_signal_handlers_disconnect_by_func(monitoredSurface_, reinterpret_cast<gpointer>(monitorEntered), this);
    g_signal_handlers_disconnect_by_func(monitoredSurface_, reinterpret_cast<gpointer>(monitorLeft), this);
    g_object_unref(std::exchange(monitoredSurface_, nullptr));
}

void GtkWindowBackend::rootResized(int width, int height) {
    Rect origin = fullScreenFrame_ && gtk_window_is_fullscreen(window_) ? *fullScreenFrame_ : frame_;
    frame_ = Rect{origin.origin, {static_cast<double>(width), static_cast<double>(height)}};
    if (!pendingReport_)
        pendingReport_ = g_idle_add(
            [](gpointer self) -> gboolean {
                static_cast<GtkWindowBackend*>(self)->reportSize();
                return G_SOURCE_REMOVE;
            },
            this);
}

// Outside GTK's layout pass: the Window lays its views out again, which asks GTK for another layout.
void GtkWindowBackend::reportSize() {
    pendingReport_ = 0;
    glib::runGuarded([this] { owner_.toolkitResized(frame_); }, "window resize");
}

void GtkWindowBackend::mapped(GtkWidget*, gpointer self) {
    auto* backend = static_cast<GtkWindowBackend*>(self);
    glib::runGuarded([backend] { backend->owner_.toolkitShown(true); }, "window map");
    backend->watchPointerPlacement();
    PaintTrace::windowMapped(GTK_WIDGET(backend->window_));
}

// A window that appears under a still pointer may hear nothing of it, yet a later motion has to be measured
// from somewhere. The pointer counts as over the window only inside the surface's size, which comes after
// mapping (a freshly mapped surface may be a pixel wide): asked at every layout until answered, or until
// a real motion tells.
void GtkWindowBackend::watchPointerPlacement() {
    pointerUnplaced_ = true;
    if (!layoutHandler_) {
        layoutSurface_ = gtk_native_get_surface(GTK_NATIVE(window_));
        if (layoutSurface_)
            layoutHandler_ = g_signal_connect(layoutSurface_, "layout", G_CALLBACK(surfaceLaidOut), this);
    }
    reportPointerOver();
}

void GtkWindowBackend::stopWatchingPointerPlacement() {
    if (layoutHandler_)
        g_signal_handler_disconnect(layoutSurface_, layoutHandler_);
    layoutHandler_ = 0;
    layoutSurface_ = nullptr;
}

void GtkWindowBackend::surfaceLaidOut(GdkSurface*, int, int, gpointer self) {
    auto* backend = static_cast<GtkWindowBackend*>(self);
    if (backend->pointerUnplaced_)
        backend->reportPointerOver();
}

void GtkWindowBackend::reportPointerOver() {
    GdkSeat* seat = layoutSurface_ ? gdk_display_get_default_seat(gdk_surface_get_display(layoutSurface_)) : nullptr;
    GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
    double x = 0;
    double y = 0;
    if (!pointer || !gdk_surface_get_device_position(layoutSurface_, pointer, &x, &y, nullptr))
        return;
    pointerUnplaced_ = false;
    report(UserEvent{UserEvent::Kind::PointerMotion, {x, y}});
}

void GtkWindowBackend::unmapped(GtkWidget*, gpointer self) {
    auto* backend = static_cast<GtkWindowBackend*>(self);
    backend->stopWatchingPointerPlacement();
    glib::runGuarded([backend] { backend->owner_.toolkitShown(false); }, "window unmap");
}

gboolean GtkWindowBackend::closeRequested(GtkWindow* window, gpointer self) {
    gtk_widget_set_visible(GTK_WIDGET(window), FALSE);
    static_cast<GtkWindowBackend*>(self)->report(UserEvent{UserEvent::Kind::CloseRequest, {}});
    return TRUE;
}

gboolean GtkWindowBackend::eventSeen(GtkEventControllerLegacy*, GdkEvent* event, gpointer self) {
    auto kind = userEventKind(gdk_event_get_event_type(event));
    if (!kind)
        return GDK_EVENT_PROPAGATE;
    auto* backend = static_cast<GtkWindowBackend*>(self);
    if (*kind == UserEvent::Kind::PointerMotion)
        backend->pointerUnplaced_ = false;
    UserEvent seen{*kind, {}};
    double x = 0;
    double y = 0;
    if (gdk_event_get_position(event, &x, &y))
        seen.location = Point{x, y};
    backend->report(seen);
    return GDK_EVENT_PROPAGATE;
}

void GtkWindowBackend::report(const UserEvent& event) {
    glib::runGuarded([this, &event] { owner_.toolkitUserEvent(event); }, "window user event");
}

} // namespace orrelith::platform
