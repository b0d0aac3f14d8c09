#pragma once

#include <functional>

namespace orrelith::platform {

// What holds the screen saver off while the user is idle: programs that asked it to (a video player, a
// presentation), for as long as they hold their request. The screen saver also tells those who ask
// whether it is running. Main thread only.
class IdleInhibitors {
public:
    virtual ~IdleInhibitors() = default;

    // Starts listening for requests. `changed` runs on the main thread, never inside a call made to this
    // object, whenever isInhibited changes.
    virtual void start(std::function<void()> changed) = 0;
    virtual bool isInhibited() const = 0;
    // Whether a run is showing, for those who ask (and announced when it changes).
    virtual void setActive(bool active) = 0;
};

} // namespace orrelith::platform
