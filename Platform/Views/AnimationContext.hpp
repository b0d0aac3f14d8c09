#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace orrelith::platform {

class View;

struct AnimationChange {
    std::weak_ptr<View> view;
    double fromAlpha = 0;
    double toAlpha = 0;
};

// What one runAnimationGroup call asks the window system to draw.
struct AnimationGroup {
    double duration = 0.25;
    std::vector<AnimationChange> changes;
    std::function<void()> completion;
};

// Groups animated changes: inside `changes`, set the duration and make changes through View::animator().
// The completion runs once on the main thread, `duration` seconds after the group starts (on a later turn
// when the duration is 0 or nothing changed), whether or not anything was drawn meanwhile. Main thread only.
class AnimationContext {
public:
    static void runAnimationGroup(const std::function<void(AnimationContext&)>& changes,
                                  std::function<void()> completion);
    // The group being described right now, or null outside runAnimationGroup's `changes`.
    static AnimationContext* current();

    void setDuration(double seconds) { group_.duration = seconds; }
    double duration() const { return group_.duration; }
    void add(AnimationChange change) { group_.changes.push_back(std::move(change)); }

private:
    AnimationGroup group_;
};

} // namespace orrelith::platform
