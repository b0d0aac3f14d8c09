#include "Host/ActivityMonitor.hpp"

#include <cmath>

namespace orrelith::host {

bool ActivityMonitor::endsRun(const void* window, const platform::UserEvent& event) {
    using Kind = platform::UserEvent::Kind;
    if (event.kind == Kind::CloseRequest)
        return true;
    if (mode_ != HostMode::FullScreen)
        return false;
    if (event.kind != Kind::PointerMotion)
        return true;
    auto [first, inserted] = firstSeen_.try_emplace(window, event.location);
    if (inserted)
        return false;
    return std::hypot(event.location.x - first->second.x, event.location.y - first->second.y) > motionTolerance;
}

} // namespace orrelith::host
