#include "Platform/Views/View.hpp"

#include "Platform/Views/AnimationContext.hpp"
#include "Platform/Platform.hpp"
#include "Platform/Views/Window.hpp"
#include "Platform/Views/WindowSystem.hpp"

#include <algorithm>

namespace orrelith::platform {

std::shared_ptr<View> View::create(const Rect& frame) {
    return std::shared_ptr<View>(new View(frame, windows().makeViewBackend()));
}

View::View(const Rect& frame, std::unique_ptr<ViewBackend> backend) : frame_(frame), backend_(std::move(backend)) {
    backend_->setFrame(frame_);
}

View::~View() {
    for (auto& subview : subviews_) {
        backend_->removeSubview(*subview->backend_);
        subview->superview_.reset();
    }
}

void View::setFrame(const Rect& frame) {
    Size oldSize = frame_.size;
    frame_ = frame;
    backend_->setFrame(frame_);
    if (!(oldSize == frame_.size))
        resizeSubviews(oldSize);
}

void View::resizeSubviews(const Size& oldSize) {
    double dw = frame_.size.width - oldSize.width;
    double dh = frame_.size.height - oldSize.height;
    for (auto& subview : subviews_) {
        Rect frame = subview->frame_;
        if (contains(subview->autoresizing_, AutoresizingMask::WidthSizable))
            frame.size.width = std::max(0.0, frame.size.width + dw);
        if (contains(subview->autoresizing_, AutoresizingMask::HeightSizable))
            frame.size.height = std::max(0.0, frame.size.height + dh);
        if (!(frame == subview->frame_))
            subview->setFrame(frame);
    }
}

void View::addSubview(std::shared_ptr<View> view) {
    if (!view || view.get() == this)
        return;
    view->detach();
    insert(std::move(view), subviews_.size());
}

void View::addSubview(std::shared_ptr<View> view, Ordering place, const View* sibling) {
    if (!view || view.get() == this)
        return;
    view->detach();
    auto found = std::find_if(subviews_.begin(), subviews_.end(),
                              [&](const auto& subview) { return subview.get() == sibling; });
    std::size_t index = place == Ordering::Above ? subviews_.size() : 0;
    if (found != subviews_.end())
        index = static_cast<std::size_t>(found - subviews_.begin()) + (place == Ordering::Above ? 1 : 0);
    insert(std::move(view), index);
}

void View::insert(std::shared_ptr<View> view, std::size_t index) {
    subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(index), view);
    view->superview_ = weak_from_this();
    backend_->insertSubview(*view->backend_, index);
    auto ownWindow = window();
    if (view->window() != ownWindow)
        view->moveToWindow(ownWindow);
}

// Leaves the superview without telling anyone about windows: the caller re-inserts the view at once.
void View::detach() {
    auto parent = superview_.lock();
    if (!parent)
        return;
    auto self = shared_from_this();
    auto& siblings = parent->subviews_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), self), siblings.end());
    parent->backend_->removeSubview(*backend_);
    superview_.reset();
}

void View::removeFromSuperview() {
    if (!superview_.lock())
        return;
    auto self = shared_from_this();
    detach();
    if (window())
        moveToWindow(nullptr);
}

void View::moveToWindow(const std::shared_ptr<Window>& window) {
    window_ = window;
    auto children = subviews_;
    for (auto& subview : children)
        subview->moveToWindow(window);
    viewDidMoveToWindow();
}

void View::setAlphaValue(double alpha) {
    alpha_ = alpha;
    backend_->setAlpha(alpha);
}

void View::Animator::setAlphaValue(double alpha) {
    auto* context = AnimationContext::current();
    if (!context || context->duration() <= 0) {
        view_.setAlphaValue(alpha);
        return;
    }
    context->add({view_.weak_from_this(), view_.alpha_, alpha});
    view_.alpha_ = alpha;
}

void View::setLayerBackgroundColor(std::optional<Color> color) {
    background_ = color;
    backend_->setBackgroundColor(color);
}

} // namespace orrelith::platform
