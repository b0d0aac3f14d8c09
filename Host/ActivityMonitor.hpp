#pragma once

#include "Host/HostOptions.hpp"
#include "Platform/Views/Window.hpp"

#include <map>

namespace orrelith::host {

// Decides which of the user's events end a run. Full screen: any key, button or scroll, a close request,
// and pointer motion once the pointer is more than `motionTolerance` points away from where a window
// first saw it (a window that appears under a still pointer is told of a motion; a nudged desk is not
// the user coming back). Preview and settings: only a close request, so that the window stays usable.
// Main thread only.
class ActivityMonitor {
public:
    static constexpr double motionTolerance = 8;

    explicit ActivityMonitor(HostMode mode) : mode_(mode) {}

    // `window` tells the windows apart; it is never followed.
    bool endsRun(const void* window, const platform::UserEvent& event);

private:
    HostMode mode_;
    std::map<const void*, platform::Point> firstSeen_;
};

} // namespace orrelith::host
