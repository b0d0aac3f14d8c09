#include "Platform/Fake/System/FakeNotificationCenter.hpp"

namespace orrelith::platform {

std::shared_ptr<FakeNotificationCenter> FakeNotificationCenter::create(Delivery delivery,
                                                                       std::shared_ptr<MainQueue> queue) {
    return std::shared_ptr<FakeNotificationCenter>(new FakeNotificationCenter(delivery, std::move(queue)));
}

FakeNotificationCenter::FakeNotificationCenter(Delivery delivery, std::shared_ptr<MainQueue> queue)
    : delivery_(delivery), queue_(std::move(queue)) {}

void FakeNotificationCenter::addObserver(const void* observer, const std::string& name,
                                         std::function<void()> handler) {
    record_.observations.push_back(name);
    observers_.add(observer, name, std::move(handler));
}

void FakeNotificationCenter::removeObserver(const void* observer) {
    ++record_.removals;
    observers_.remove(observer);
}

void FakeNotificationCenter::post(const std::string& name) {
    record_.posts.push_back(name);
    auto registrations = observers_.registrationsFor(name);
    if (delivery_ == Delivery::Synchronous) {
        for (auto registration : registrations)
            deliver(registration, name);
        return;
    }
    std::weak_ptr<FakeNotificationCenter> weak = weak_from_this();
    queue_->async([weak, registrations, name] {
        auto self = weak.lock();
        if (!self)
            return;
        for (auto registration : registrations)
            self->deliver(registration, name);
    });
}

void FakeNotificationCenter::deliver(ObserverTable::Registration registration, const std::string& name) {
    if (!observers_.isRegistered(registration))
        return;
    record_.deliveries.push_back(name);
    observers_.deliver(registration);
}

} // namespace orrelith::platform
