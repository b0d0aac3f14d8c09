#pragma once

#include "Platform/Views/View.hpp"

namespace orrelith::platform {

enum class SaverMode { FullScreen, Preview };

// Stands for a view restored from an archive: such a view gets no set-up beyond its fields.
struct Archive {};

// The base of a screen saver's principal view, driven by a host: it creates one per display (and a small
// preview), puts each into a window (before or after startAnimation), calls startAnimation and
// stopAnimation around a run, and animateOneFrame every animationTimeInterval seconds in between. The host
// calls everything on the main thread.
class ScreenSaverView : public View {
public:
    // Distributed notifications the host posts around the end of a run: views go quiet at the first and
    // are torn down by either.
    static constexpr const char* willStopNotification = "com.apple.screensaver.willstop";
    static constexpr const char* didStopNotification = "com.apple.screensaver.didstop";

    bool isPreview() const { return mode_ == SaverMode::Preview; }
    bool isAnimating() const { return animating_; }
    double animationTimeInterval() const { return animationTimeInterval_; }
    void setAnimationTimeInterval(double seconds) { animationTimeInterval_ = seconds; }

    // Overrides call these first.
    virtual void startAnimation() { animating_ = true; }
    virtual void stopAnimation() { animating_ = false; }
    virtual void animateOneFrame() {}
    virtual bool hasConfigureSheet() const { return false; }
    // The window the host presents as a sheet of its own window, or null.
    virtual std::shared_ptr<Window> configureSheet() { return nullptr; }

protected:
    ScreenSaverView(const Rect& frame, SaverMode mode);
    explicit ScreenSaverView(const Archive& archive);

private:
    SaverMode mode_;
    bool animating_ = false;
    double animationTimeInterval_ = 1.0 / 30;
};

} // namespace orrelith::platform
