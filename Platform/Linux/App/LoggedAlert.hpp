#pragma once

#include "Platform/App/Alert.hpp"

namespace orrelith::platform {

// Alerts where nothing can show (no display): each is written to the system log and answered at once with
// its last button, the one that declines, as closing it would. Main thread only.
class LoggedAlert : public Alert {
public:
    std::size_t runModal(const AlertContent& content) override;
};

} // namespace orrelith::platform
