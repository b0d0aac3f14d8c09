// The options application: installs the real platform with the application's alerts and event loop, then
// runs the start-up: the screen saver installed or refreshed, and in interactive mode the options window,
// whose closing ends the program. With "--check-updates" it runs in the background without a window.
#include "OptionsApp/AppDelegate.hpp"
#include "Platform/Linux/App/AdwAlert.hpp"
#include "Platform/Linux/App/GtkRunningApplication.hpp"
#include "Platform/Linux/LinuxPlatform.hpp"
#include "Platform/System/System.hpp"
#include "Saver/OptionsSheet/OptionsWindow.hpp"

#include <iostream>

namespace {

constexpr const char* identifier = "org.kestrin.orvex.options";

std::shared_ptr<void> presentWindow(std::optional<orrelith::Settings> initial, std::function<void()> checkForUpdates) {
    using orrelith::OptionsWindow;
    GtkWindow* window = OptionsWindow::make(OptionsWindow::Presentation::standalone, std::move(initial),
                                            std::move(checkForUpdates));
    OptionsWindow::present(window);
    // The toolkit owns the window; it lives as long as the process.
    return std::shared_ptr<void>(static_cast<void*>(window), [](void*) {});
}

} // namespace

int main() {
    using namespace orrelith;
    auto services = platform::linuxServices();
    if (!services.windows) {
        std::cerr << "Quorvane Options needs a display.\n";
        return 1;
    }
    auto bundle = services.system->mainBundle();
    services.alert = std::make_shared<platform::AdwAlert>();
    services.application =
        std::make_shared<platform::GtkRunningApplication>(bundle ? bundle->bundleIdentifier().value_or(identifier) : identifier);
    platform::install(std::move(services));
    int status = AppDelegate::runApplication(presentWindow);
    platform::uninstall();
    return status;
}
