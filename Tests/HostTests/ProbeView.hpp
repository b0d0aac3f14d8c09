#pragma once

#include "Platform/System/ClassRegistry.hpp"
#include "Platform/Views/ScreenSaverView.hpp"

#include <string>

// A principal view that tells what the host does to it by posting on the distributed center, so that one
// record holds the host's posts and the view's calls in their order: "probe.start <mode> <width>x<height>
// <shown>", "probe.stop", "probe.frame", "probe.configureSheet".
class ProbeView : public orrelith::platform::ScreenSaverView {
public:
    struct Options {
        bool hasConfigureSheet = true;
        double animationTimeInterval = 30;
    };

    static orrelith::platform::ClassRegistry::Entry entry(Options options);

    void startAnimation() override;
    void stopAnimation() override;
    void animateOneFrame() override;
    bool hasConfigureSheet() const override { return options_.hasConfigureSheet; }
    std::shared_ptr<orrelith::platform::Window> configureSheet() override;

private:
    ProbeView(const orrelith::platform::Rect& frame, orrelith::platform::SaverMode mode, Options options);

    Options options_;
};
