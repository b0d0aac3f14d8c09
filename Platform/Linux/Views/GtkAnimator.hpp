#pragma once

#include "Platform/Views/AnimationContext.hpp"
#include "Platform/System/MainQueue.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace orrelith::platform {

// Draws animation groups: each view's opacity eases from its start to its target at about 60 steps a
// second, on a main-queue timer rather than a frame clock, so that a group in an unmapped window ends too.
// The completion runs from a main-queue deferral `duration` seconds after the start, whether or not
// anything was drawn. A later group on the same view takes over its drawing; the earlier group's
// completion still runs on time. Main thread only.
class GtkAnimator : public std::enable_shared_from_this<GtkAnimator> {
public:
    explicit GtkAnimator(std::shared_ptr<MainQueue> queue);
    void run(AnimationGroup group);

private:
    struct Fade {
        std::weak_ptr<View> view;
        double fromAlpha;
        double toAlpha;
        std::int64_t start;
        std::int64_t duration;
        std::uint64_t group;
    };
    void drawFrame();
    void finish(std::uint64_t id, const AnimationGroup& group);

    std::shared_ptr<MainQueue> queue_;
    std::vector<Fade> fades_;
    std::shared_ptr<RepeatingTimer> frames_;
    std::uint64_t nextGroup_ = 1;
};

} // namespace orrelith::platform
