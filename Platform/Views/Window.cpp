#include "Platform/Views/Window.hpp"

#include "Platform/Platform.hpp"
#include "Platform/Views/View.hpp"
#include "Platform/Views/WindowSystem.hpp"

namespace orrelith::platform {

std::shared_ptr<Window> Window::create(const Rect& contentRect, WindowStyle style) {
    auto window = std::shared_ptr<Window>(new Window(contentRect, style));
    window->backend_ = windows().makeWindowBackend(*window, contentRect, style);
    return window;
}

Window::Window(const Rect& contentRect, WindowStyle style) : frame_(contentRect), style_(style) {}

Window::~Window() {
    if (contentView_)
        backend_->setContentView(nullptr);
}

void Window::setFrame(const Rect& frame) {
    backend_->setFrame(frame);
    toolkitResized(frame);
}

void Window::toolkitResized(const Rect& frame) {
    frame_ = frame;
    if (contentView_)
        contentView_->setFrame(Rect{{0, 0}, frame.size});
}

void Window::toolkitShown(bool visible) { visible_ = visible && !closed_; }

void Window::setUserEventHandler(std::function<void(const UserEvent&)> handler) {
    userEventHandler_ = std::move(handler);
}

void Window::toolkitUserEvent(const UserEvent& event) {
    // A copy: the handler may replace itself.
    if (auto handler = userEventHandler_)
        handler(event);
}

void Window::setContentView(std::shared_ptr<View> view) {
    if (view == contentView_)
        return;
    auto old = std::move(contentView_);
    contentView_ = std::move(view);
    if (contentView_) {
        contentView_->removeFromSuperview();
        contentView_->setFrame(Rect{{0, 0}, frame_.size});
    }
    backend_->setContentView(contentView_.get());
    if (old)
        old->moveToWindow(nullptr);
    if (contentView_)
        contentView_->moveToWindow(shared_from_this());
}

void Window::setTitle(std::string title) {
    title_ = std::move(title);
    backend_->setTitle(title_);
}

void Window::orderFront() {
    if (closed_)
        return;
    visible_ = true;
    backend_->show();
}

void Window::orderOut() {
    visible_ = false;
    backend_->hide();
}

void Window::close() {
    if (closed_)
        return;
    if (auto parent = sheetParent())
        parent->endSheet(*this);
    visible_ = false;
    closed_ = true;
    backend_->close();
}

void Window::makeFullScreen(const Screen& screen) { backend_->makeFullScreen(screen); }

void Window::beginSheet(std::shared_ptr<Window> sheet) {
    if (!sheet || attachedSheet_)
        return;
    attachedSheet_ = sheet;
    sheet->sheetParent_ = weak_from_this();
    sheet->visible_ = true;
    backend_->beginSheet(*sheet->backend_);
}

void Window::endSheet(Window& sheet) {
    if (attachedSheet_.get() != &sheet)
        return;
    auto keep = std::move(attachedSheet_);
    sheet.sheetParent_.reset();
    sheet.visible_ = false;
    backend_->endSheet(*sheet.backend_);
}

} // namespace orrelith::platform
