#include "Platform/Views/AnimationContext.hpp"

#include "Platform/Platform.hpp"
#include "Platform/Views/WindowSystem.hpp"

namespace orrelith::platform {

namespace {
AnimationContext* describing = nullptr;
}

AnimationContext* AnimationContext::current() { return describing; }

void AnimationContext::runAnimationGroup(const std::function<void(AnimationContext&)>& changes,
                                         std::function<void()> completion) {
    AnimationContext context;
    AnimationContext* outer = describing;
    describing = &context;
    changes(context);
    describing = outer;
    context.group_.completion = std::move(completion);
    windows().animate(std::move(context.group_));
}

} // namespace orrelith::platform
