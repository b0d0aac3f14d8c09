#include "Platform/Fake/Idle/FakeIdleInhibitors.hpp"

namespace orrelith::platform {

void FakeIdleInhibitors::hold() {
    if (holds_++ == 0)
        reportLater();
}

void FakeIdleInhibitors::release() {
    if (holds_ > 0 && --holds_ == 0)
        reportLater();
}

void FakeIdleInhibitors::reportLater() {
    std::weak_ptr<FakeIdleInhibitors> weak = weak_from_this();
    queue_->async([weak] {
        if (auto self = weak.lock(); self && self->changed_)
            self->changed_();
    });
}

} // namespace orrelith::platform
