#include "ProbeView.hpp"

#include "Platform/System/NotificationCenter.hpp"
#include "Platform/Platform.hpp"
#include "Platform/Views/Window.hpp"

using namespace orrelith::platform;

ClassRegistry::Entry ProbeView::entry(Options options) {
    return {[options](const Rect& frame, SaverMode mode) {
                return std::shared_ptr<ScreenSaverView>(new ProbeView(frame, mode, options));
            },
            [](const Archive&) { return std::shared_ptr<ScreenSaverView>(); }};
}

ProbeView::ProbeView(const Rect& frame, SaverMode mode, Options options)
    : ScreenSaverView(frame, mode), options_(options) {
    setAnimationTimeInterval(options.animationTimeInterval);
}

void ProbeView::startAnimation() {
    ScreenSaverView::startAnimation();
    auto host = window();
    distributedCenter().post(std::string("probe.start ") + (isPreview() ? "preview " : "fullscreen ") +
                             std::to_string(static_cast<int>(frame().width())) + "x" +
                             std::to_string(static_cast<int>(frame().height())) +
                             (host && host->isVisible() ? " shown" : " hidden"));
}

void ProbeView::stopAnimation() {
    ScreenSaverView::stopAnimation();
    distributedCenter().post("probe.stop");
}

void ProbeView::animateOneFrame() { distributedCenter().post("probe.frame"); }

std::shared_ptr<Window> ProbeView::configureSheet() {
    distributedCenter().post("probe.configureSheet");
    return Window::create(Rect::make(0, 0, 360, 128), WindowStyle::Titled);
}
