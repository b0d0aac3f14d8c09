#pragma once

#include <functional>
#include <memory>

namespace orrelith::platform {

// The handlers of the current watch of an idle monitor. Reports arrive inside a display server's event
// dispatch, so they are handed on from a later main-loop turn, and only if the watch they belong to is
// still the current one. Main thread only.
class IdleReports {
public:
    // A new watch: reports queued for an earlier one are dropped.
    void begin(std::function<void()> idle, std::function<void()> active);
    void end();
    // Calls the idle or active handler on a later turn; never synchronously.
    void reportLater(bool idle) const;

private:
    struct Watch {
        std::function<void()> idle;
        std::function<void()> active;
        unsigned generation = 0;
    };
    // Shared so that queued reports can hold it weakly and outlive the monitor harmlessly.
    std::shared_ptr<Watch> watch_ = std::make_shared<Watch>();
};

} // namespace orrelith::platform
