#pragma once

#include "Platform/Linux/Views/GdkScreenList.hpp"
#include "Platform/Views/Window.hpp"

#include <memory>
#include <vector>

#include <gtk/gtk.h>

namespace orrelith::platform {

// A window: a GtkWindow whose child is a root view container holding the content view's widget. The size
// GTK gives the root is reported to the Window (on a later turn, outside GTK's layout pass), and so are
// mapping and unmapping. A window closed by the user is hidden, not destroyed, so that the Window keeps a
// working backend. GTK 4 cannot place windows: the frame's origin is kept as the Window set it, except
// that a full-screen window takes its screen's origin. The window's screen is the monitor the window system
// says the surface is on (the one asked for full screen when it is among several); until it says, a
// window made full screen is on the monitor asked for, and another window on the screen its frame meets
// (GDK's own guess falls back to the monitor at the origin for a surface not placed yet). Key presses, pointer motion, button presses and
// scrolls reach the Window from a controller on the GtkWindow in the capture phase, before the views see
// them, and go on to the views unchanged; a window mapped under the pointer reports where it is as a motion.
// Main thread only.
class GtkWindowBackend : public WindowBackend {
public:
    GtkWindowBackend(Window& window, const Rect& contentRect, WindowStyle style, std::shared_ptr<GdkScreenList> screens);
    ~GtkWindowBackend() override;
    GtkWindowBackend(const GtkWindowBackend&) = delete;
    GtkWindowBackend& operator=(const GtkWindowBackend&) = delete;

    void setContentView(View* view) override;
    void setFrame(const Rect& frame) override;
    void setTitle(const std::string& title) override;
    void show() override;
    void hide() override;
    void close() override;
    void makeFullScreen(const Screen& screen) override;
    void beginSheet(WindowBackend& sheet) override;
    void endSheet(WindowBackend& sheet) override;
    std::shared_ptr<Screen> screen() const override;

    GtkWindow* gtkWindow() const { return window_; }

private:
    void rootResized(int width, int height);
    void reportSize();
    static void mapped(GtkWidget* widget, gpointer self);
    static void unmapped(GtkWidget* widget, gpointer self);
    static gboolean closeRequested(GtkWindow* window, gpointer self);
    static gboolean eventSeen(GtkEventControllerLegacy* controller, GdkEvent* event, gpointer self);
    void report(const UserEvent& event);
    void watchPointerPlacement();
    void stopWatchingPointerPlacement();
    static void surfaceLaidOut(GdkSurface* surface, int width, int height, gpointer self);
    void reportPointerOver();
    static void realized(GtkWidget* widget, gpointer self);
    static void monitorEntered(GdkSurface* surface, GdkMonitor* monitor, gpointer self);
    static void monitorLeft(GdkSurface* surface, GdkMonitor* monitor, gpointer self);
    void forgetSurface();
    std::shared_ptr<Screen> placedScreen() const;

    Window& owner_;
    std::shared_ptr<GdkScreenList> screens_;
    GtkWindow* window_;
    GtkWidget* root_;
    GtkEventController* events_ = nullptr;
    Rect frame_;
    std::optional<Rect> fullScreenFrame_;
    guint pendingReport_ = 0;
    bool destroyed_ = false;
    // Mapped, and where the pointer is not known yet.
    bool pointerUnplaced_ = false;
    GdkSurface* layoutSurface_ = nullptr;
    gulong layoutHandler_ = 0;
    // The monitor made full screen on, and the monitors the window system says the surface is on, in the
    // order entered; each holds a reference.
    GdkMonitor* fullScreenMonitor_ = nullptr;
    std::vector<GdkMonitor*> entered_;
    GdkSurface* monitoredSurface_ = nullptr;
};

} // namespace orrelith::platform
