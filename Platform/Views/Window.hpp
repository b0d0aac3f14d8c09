#pragma once

#include "Platform/Views/Geometry.hpp"

#include <functional>
#include <memory>
#include <string>

namespace orrelith::platform {

class Screen;
class View;
class Window;

enum class WindowStyle : unsigned { Borderless = 0, Titled = 1, Closable = 2, Resizable = 8 };

// What the user did to a window: what ends a screen-saver run, or asks to close a preview.
struct UserEvent {
    enum class Kind { KeyPress, PointerMotion, ButtonPress, Scroll, CloseRequest };
    Kind kind = Kind::KeyPress;
    // Where the pointer is, in points from the window's top-left corner (y downward, as the pointer moves
    // on screen); set for PointerMotion (which the pointer entering the window, or being over it
    // when it appears, also reports) and ButtonPress.
    Point location;
    friend bool operator==(const UserEvent&, const UserEvent&) = default;
};

// The toolkit's side of one window. Calls come from the Window on the main thread. The backend reports
// changes made by the toolkit (resizes, mapping) through Window::toolkitResized and Window::toolkitShown,
// and what the user does to the window (keys, pointer, close button) through Window::toolkitUserEvent,
// seeing events before any view inside the window does and leaving them to the views as well.
class WindowBackend {
public:
    virtual ~WindowBackend() = default;
    virtual void setContentView(View* view) = 0;
    virtual void setFrame(const Rect& frame) = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void close() = 0;
    // Covers the whole screen with the window.
    virtual void makeFullScreen(const Screen& screen) = 0;
    // Presents `sheet` attached to this window, or ends that presentation.
    virtual void beginSheet(WindowBackend& sheet) = 0;
    virtual void endSheet(WindowBackend& sheet) = 0;
    // The screen the window is on, or null.
    virtual std::shared_ptr<Screen> screen() const = 0;
};

// A top-level window holding one content view. Main thread only. The window holds its content view
// strongly; a sheet knows its parent weakly, the parent holds its attached sheet strongly.
class Window : public std::enable_shared_from_this<Window> {
public:
    static std::shared_ptr<Window> create(const Rect& contentRect, WindowStyle style);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Global points, y upward.
    Rect frame() const { return frame_; }
    void setFrame(const Rect& frame);
    std::shared_ptr<Screen> screen() const { return backend_->screen(); }
    std::shared_ptr<View> contentView() const { return contentView_; }
    void setContentView(std::shared_ptr<View> view);
    std::string title() const { return title_; }
    void setTitle(std::string title);
    WindowStyle style() const { return style_; }

    bool isVisible() const { return visible_; }
    void orderFront();
    void orderOut();
    void close();
    bool isClosed() const { return closed_; }
    void makeFullScreen(const Screen& screen);

    std::shared_ptr<Window> sheetParent() const { return sheetParent_.lock(); }
    std::shared_ptr<Window> attachedSheet() const { return attachedSheet_; }
    void beginSheet(std::shared_ptr<Window> sheet);
    void endSheet(Window& sheet);

    // What the user does to the window (every key press, pointer motion, button press, scroll and close
    // request) goes to `handler`, on the main thread, synchronously inside the toolkit's event delivery:
    // a handler that closes windows defers that to the main queue. Null stops the reports. A close request
    // still hides the window as before.
    void setUserEventHandler(std::function<void(const UserEvent&)> handler);

    // Reports from the backend: the toolkit gave the window a new frame, or mapped or unmapped it, or the
    // user acted on it.
    void toolkitResized(const Rect& frame);
    void toolkitShown(bool visible);
    void toolkitUserEvent(const UserEvent& event);

    WindowBackend& backend() const { return *backend_; }

private:
    Window(const Rect& contentRect, WindowStyle style);

    Rect frame_;
    WindowStyle style_;
    std::string title_;
    std::unique_ptr<WindowBackend> backend_;
    std::shared_ptr<View> contentView_;
    std::weak_ptr<Window> sheetParent_;
    std::shared_ptr<Window> attachedSheet_;
    std::function<void(const UserEvent&)> userEventHandler_;
    bool visible_ = false;
    bool closed_ = false;
};

} // namespace orrelith::platform
