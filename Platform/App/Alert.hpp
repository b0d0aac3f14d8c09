#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orrelith::platform {

enum class AlertStyle { informational, warning };

// What a modal alert shows. The first button is the default one (Return chooses it).
struct AlertContent {
    AlertStyle style = AlertStyle::informational;
    std::string messageText;
    std::string informativeText;
    std::vector<std::string> buttons;
    friend bool operator==(const AlertContent&, const AlertContent&) = default;
};

// Modal alerts of the application. Main thread only.
class Alert {
public:
    virtual ~Alert() = default;
    // Shows the alert application-modal and returns once the user has answered: the index of the chosen
    // button in `content.buttons`. Closing the alert without a button (Escape, the window's close) answers
    // the last button, the one that declines. Other events (timers, main-queue work) keep being handled
    // while it is shown.
    virtual std::size_t runModal(const AlertContent& content) = 0;
};

} // namespace orrelith::platform
