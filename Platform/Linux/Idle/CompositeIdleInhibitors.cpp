#include "Platform/Linux/Idle/CompositeIdleInhibitors.hpp"

#include <algorithm>
#include <utility>

namespace orrelith::platform {

std::shared_ptr<CompositeIdleInhibitors>
CompositeIdleInhibitors::create(std::vector<std::shared_ptr<IdleInhibitors>> parts) {
    return std::shared_ptr<CompositeIdleInhibitors>(new CompositeIdleInhibitors(std::move(parts)));
}

CompositeIdleInhibitors::CompositeIdleInhibitors(std::vector<std::shared_ptr<IdleInhibitors>> parts)
    : parts_(std::move(parts)) {}

void CompositeIdleInhibitors::start(std::function<void()> changed) {
    changed_ = std::move(changed);
    reported_ = isInhibited();
    std::weak_ptr<CompositeIdleInhibitors> weak = weak_from_this();
    for (auto& part : parts_)
        part->start([weak] {
            if (auto self = weak.lock())
                self->partChanged();
        });
}

bool CompositeIdleInhibitors::isInhibited() const {
    return std::ranges::any_of(parts_, [](auto& part) { return part->isInhibited(); });
}

void CompositeIdleInhibitors::setActive(bool active) {
    for (auto& part : parts_)
        part->setActive(active);
}

// One part letting go while another holds changes nothing for the daemon.
void CompositeIdleInhibitors::partChanged() {
    bool inhibited = isInhibited();
    if (std::exchange(reported_, inhibited) != inhibited && changed_)
        changed_();
}

} // namespace orrelith::platform
