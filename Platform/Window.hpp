#pragma once

#include "Platform/Geometry.hpp"

#include <memory>
#include <string>

namespace orrelith::platform {

class Screen;
class View;
class Window;

enum class WindowStyle : unsigned { Borderless = 0, Titled = 1, Closable = 2, Resizable = 8 };

// The toolkit's side of one window. Calls come from the Window on the main thread. The backend reports
// changes made by the toolkit (resizes, mapping) through Window::toolkitResized and Window::toolkitShown.
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

    // Reports from the backend: the toolkit gave the window a new frame, or mapped or unmapped it.
    void toolkitResized(const Rect& frame);
    void toolkitShown(bool visible);

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
    bool visible_ = false;
    bool closed_ = false;
};

} // namespace orrelith::platform
