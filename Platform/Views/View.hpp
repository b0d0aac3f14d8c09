#pragma once

#include "Platform/Views/Geometry.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace orrelith::platform {

class Window;

enum class AutoresizingMask : unsigned { None = 0, WidthSizable = 1u << 1, HeightSizable = 1u << 4 };

constexpr AutoresizingMask operator|(AutoresizingMask a, AutoresizingMask b) {
    return static_cast<AutoresizingMask>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool contains(AutoresizingMask mask, AutoresizingMask flag) {
    return (static_cast<unsigned>(mask) & static_cast<unsigned>(flag)) != 0;
}

enum class Ordering { Above, Below };

// The toolkit's side of one view: it draws what the View holds. The View calls it after each change of
// its own state, on the main thread; the backend never calls back into the View. Frames it receives are in
// the superview's y-up coordinates; a backend that draws y-down converts with its parent's height.
class ViewBackend {
public:
    virtual ~ViewBackend() = default;
    virtual void setFrame(const Rect& frame) = 0;
    // `child` becomes the subview at `index` in back-to-front order (0 is the bottom).
    virtual void insertSubview(ViewBackend& child, std::size_t index) = 0;
    virtual void removeSubview(ViewBackend& child) = 0;
    // The drawn opacity, from 0 to 1. Animations call this for every step they draw.
    virtual void setAlpha(double alpha) = 0;
    // The background behind the subviews; nothing means transparent.
    virtual void setBackgroundColor(std::optional<Color> color) = 0;
};

// A rectangle in the view tree, platform-neutral: it holds the tree and its state, and a backend mirrors
// them on screen. Main thread only. A superview holds its subviews strongly; a subview knows its superview
// and window weakly. Made by create(...) since deferred work may outlive its owner's interest in it.
class View : public std::enable_shared_from_this<View> {
public:
    // Changes made through the animator inside AnimationContext::runAnimationGroup are animated over the
    // group's duration; outside a group they take effect at once.
    class Animator {
    public:
        explicit Animator(View& view) : view_(view) {}
        void setAlphaValue(double alpha);

    private:
        View& view_;
    };

    static std::shared_ptr<View> create(const Rect& frame);
    virtual ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    Rect frame() const { return frame_; }
    void setFrame(const Rect& frame);
    Rect bounds() const { return Rect{{0, 0}, frame_.size}; }

    // Adds `view` on top of all subviews, taking it from any former superview.
    void addSubview(std::shared_ptr<View> view);
    // Adds `view` directly above or below `sibling`; on top or at the bottom when `sibling` is not a subview.
    void addSubview(std::shared_ptr<View> view, Ordering place, const View* sibling);
    void removeFromSuperview();
    std::shared_ptr<View> superview() const { return superview_.lock(); }
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    std::shared_ptr<Window> window() const { return window_.lock(); }

    // The model opacity. An animated change sets it to the target at once and lets the backend draw the way.
    double alphaValue() const { return alpha_; }
    void setAlphaValue(double alpha);
    Animator animator() { return Animator(*this); }

    void setWantsLayer(bool wants) { wantsLayer_ = wants; }
    bool wantsLayer() const { return wantsLayer_; }
    std::optional<Color> layerBackgroundColor() const { return background_; }
    void setLayerBackgroundColor(std::optional<Color> color);

    AutoresizingMask autoresizingMask() const { return autoresizing_; }
    void setAutoresizingMask(AutoresizingMask mask) { autoresizing_ = mask; }

    // Called after the view (or one of its ancestors) entered or left a window.
    virtual void viewDidMoveToWindow() {}

    ViewBackend& backend() const { return *backend_; }

protected:
    View(const Rect& frame, std::unique_ptr<ViewBackend> backend);

private:
    friend class Window;
    void insert(std::shared_ptr<View> view, std::size_t index);
    void detach();
    void moveToWindow(const std::shared_ptr<Window>& window);
    void resizeSubviews(const Size& oldSize);

    Rect frame_;
    std::unique_ptr<ViewBackend> backend_;
    std::weak_ptr<View> superview_;
    std::weak_ptr<Window> window_;
    std::vector<std::shared_ptr<View>> subviews_;
    double alpha_ = 1;
    bool wantsLayer_ = false;
    std::optional<Color> background_;
    AutoresizingMask autoresizing_ = AutoresizingMask::None;
};

} // namespace orrelith::platform
