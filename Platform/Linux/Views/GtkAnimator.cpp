#include "Platform/Linux/Views/GtkAnimator.hpp"

#include "Platform/Linux/System/GlibSources.hpp"
#include "Platform/Views/View.hpp"

#include <algorithm>

#include <glib.h>

namespace orrelith::platform {

namespace {

constexpr double framePeriod = 1.0 / 60;

double easeInOut(double t) { return t * t * (3 - 2 * t); }

} // namespace

GtkAnimator::GtkAnimator(std::shared_ptr<MainQueue> queue) : queue_(std::move(queue)) {}

void GtkAnimator::run(AnimationGroup group) {
    auto id = nextGroup_++;
    auto start = g_get_monotonic_time();
    auto duration = group.changes.empty() ? 0 : glib::secondsToMicroseconds(group.duration);
    for (auto& change : group.changes) {
        auto view = change.view.lock();
        if (!view)
            continue;
        std::erase_if(fades_, [&](const Fade& fade) { return fade.view.lock() == view; });
        fades_.push_back({change.view, change.fromAlpha, change.toAlpha, start, duration, id});
        view->backend().setAlpha(change.fromAlpha);
    }
    std::weak_ptr<GtkAnimator> weak = weak_from_this();
    if (!fades_.empty() && !frames_)
        frames_ = queue_->scheduleRepeating(framePeriod, [weak] {
            if (auto self = weak.lock())
                self->drawFrame();
        });
    queue_->asyncAfter(static_cast<double>(duration) / 1e6, [weak, id, group = std::move(group)] {
        auto self = weak.lock();
        if (!self)
            return;
        self->finish(id, group);
    });
}

void GtkAnimator::drawFrame() {
    auto now = g_get_monotonic_time();
    std::erase_if(fades_, [](const Fade& fade) { return fade.view.expired(); });
    for (auto& fade : fades_) {
        double t = fade.duration > 0 ? std::clamp(static_cast<double>(now - fade.start) / static_cast<double>(fade.duration), 0.0, 1.0) : 1.0;
        if (auto view = fade.view.lock())
            view->backend().setAlpha(fade.fromAlpha + (fade.toAlpha - fade.fromAlpha) * easeInOut(t));
    }
    if (fades_.empty() && frames_) {
        frames_->invalidate();
        frames_.reset();
    }
}

void GtkAnimator::finish(std::uint64_t id, const AnimationGroup& group) {
    for (auto& change : group.changes) {
        auto view = change.view.lock();
        if (!view)
            continue;
        auto mine = std::find_if(fades_.begin(), fades_.end(),
                                 [&](const Fade& fade) { return fade.group == id && fade.view.lock() == view; });
        if (mine == fades_.end())
            continue;
        view->backend().setAlpha(change.toAlpha);
        fades_.erase(mine);
    }
    if (group.completion)
        glib::runGuarded(group.completion, "animation completion");
}

} // namespace orrelith::platform
