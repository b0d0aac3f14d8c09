#pragma once

#include "Platform/System/NotificationCenter.hpp"
#include "Platform/System/ObserverTable.hpp"

namespace orrelith::platform {

// A notification center in this process that calls its observers inside `post`, in the order they were
// added. Main thread only.
class SynchronousNotificationCenter : public NotificationCenter {
public:
    void addObserver(const void* observer, const std::string& name, std::function<void()> handler) override {
        observers_.add(observer, name, std::move(handler));
    }
    void removeObserver(const void* observer) override { observers_.remove(observer); }
    void post(const std::string& name) override { observers_.deliverNow(name); }

private:
    ObserverTable observers_;
};

} // namespace orrelith::platform
