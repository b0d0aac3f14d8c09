#include "Platform/Fake/App/FakeAlert.hpp"

#include <algorithm>

namespace orrelith::platform {

std::size_t FakeAlert::runModal(const AlertContent& content) {
    shown.push_back(content);
    std::size_t index = 0;
    if (!answers.empty()) {
        auto found = std::find(content.buttons.begin(), content.buttons.end(), answers.front());
        answers.pop_front();
        if (found != content.buttons.end())
            index = static_cast<std::size_t>(found - content.buttons.begin());
    }
    chosen.push_back(index < content.buttons.size() ? content.buttons[index] : std::string());
    return index;
}

} // namespace orrelith::platform
