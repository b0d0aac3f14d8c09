#pragma once

#include "Platform/System/MainQueue.hpp"
#include "Platform/System/NotificationCenter.hpp"
#include "Platform/System/ObserverTable.hpp"

#include <memory>
#include <string>
#include <vector>

namespace orrelith::platform {

// How a center hands a post to its observers: the workspace's center calls them inside post, the
// distributed center on a later turn of the main queue.
enum class Delivery { Synchronous, LaterTurn };

// A notification center held in memory. Records every post and every delivery. Main thread only.
class FakeNotificationCenter : public NotificationCenter, public std::enable_shared_from_this<FakeNotificationCenter> {
public:
    struct Record {
        std::vector<std::string> posts;
        // One entry per handler call, the notification's name.
        std::vector<std::string> deliveries;
        std::vector<std::string> observations;
        std::size_t removals = 0;
    };

    static std::shared_ptr<FakeNotificationCenter> create(Delivery delivery, std::shared_ptr<MainQueue> queue);

    void addObserver(const void* observer, const std::string& name, std::function<void()> handler) override;
    void removeObserver(const void* observer) override;
    void post(const std::string& name) override;

    std::size_t observerCount(const std::string& name) const { return observers_.count(name); }
    const Record& record() const { return record_; }

private:
    FakeNotificationCenter(Delivery delivery, std::shared_ptr<MainQueue> queue);
    void deliver(ObserverTable::Registration registration, const std::string& name);

    Delivery delivery_;
    std::shared_ptr<MainQueue> queue_;
    ObserverTable observers_;
    Record record_;
};

} // namespace orrelith::platform
