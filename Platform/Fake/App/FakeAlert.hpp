#pragma once

#include "Platform/App/Alert.hpp"

#include <deque>

namespace orrelith::platform {

// Modal alerts answered at once: each alert takes the next of `answers` (a button title) and records what
// it showed. With no answer left, or a title the alert does not have, it answers the first button.
class FakeAlert : public Alert {
public:
    std::size_t runModal(const AlertContent& content) override;

    std::deque<std::string> answers;
    std::vector<AlertContent> shown;
    // The title of the button each alert answered, in order.
    std::vector<std::string> chosen;
};

} // namespace orrelith::platform
