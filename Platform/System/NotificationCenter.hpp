#pragma once

#include <functional>
#include <string>

namespace orrelith::platform {

// Observe and post notifications by name (object nil). An observer is identified by an address of the
// caller's choosing (usually `this`) so that it can remove all of its observations at once.
//
// Handlers run on the main thread. The workspace's center delivers synchronously inside `post`; the
// distributed center delivers on a later turn of the main queue, because posts from other processes can
// only arrive that way and in-process posts must behave the same. A handler may add or remove observers;
// an observer removed before delivery is not called.
class NotificationCenter {
public:
    virtual ~NotificationCenter() = default;
    virtual void addObserver(const void* observer, const std::string& name, std::function<void()> handler) = 0;
    virtual void removeObserver(const void* observer) = 0;
    virtual void post(const std::string& name) = 0;
};

} // namespace orrelith::platform
