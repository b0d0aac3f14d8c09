#include "Platform/Linux/App/LoggedAlert.hpp"

#include "Platform/Platform.hpp"
#include "Platform/System/System.hpp"

namespace orrelith::platform {

std::size_t LoggedAlert::runModal(const AlertContent& content) {
    system().log(content.messageText + (content.informativeText.empty() ? "" : ": " + content.informativeText));
    return content.buttons.empty() ? 0 : content.buttons.size() - 1;
}

} // namespace orrelith::platform
