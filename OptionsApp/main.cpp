// The options application: installs the real platform with the application's alerts and event loop, then
// runs the start-up: the screen saver installed or refreshed, and in interactive mode the options window,
// whose closing ends the program. With "--check-updates" it runs in the background without a window, also
// where no display opens.
#include "OptionsApp/AppDelegate.hpp"
#include "OptionsApp/SaverFiles.hpp"
#include "OptionsApp/Updates.hpp"
#include "Platform/Linux/App/AdwAlert.hpp"
#include "Platform/Linux/App/GlibHeadlessApplication.hpp"
#include "Platform/Linux/App/GtkRunningApplication.hpp"
#include "Platform/Linux/App/LoggedAlert.hpp"
#include "Platform/Linux/LinuxPlatform.hpp"
#include "Platform/Linux/Update/AdwUpdateUserInterface.hpp"
#include "Platform/Linux/Update/AppcastUpdateService.hpp"
#include "Platform/Linux/Update/LoggedUpdateUserInterface.hpp"
#include "Platform/System/System.hpp"
#include "Platform/System/UserDefaults.hpp"
#include "Saver/OptionsSheet/OptionsWindow.hpp"

#include <chrono>
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

// The updater of the running bundle; none when the program does not run from one.
std::shared_ptr<orrelith::platform::AppcastUpdateService> makeUpdates(
    const orrelith::platform::Services& services, std::shared_ptr<orrelith::platform::UpdateUserInterface> userInterface) {
    using namespace orrelith::platform;
    auto bundle = services.system->mainBundle();
    if (!bundle)
        return nullptr;
    auto configuration = UpdaterConfiguration::of(*bundle);
    configuration.defaults = services.preferences->standardUserDefaults();
    configuration.putInPlace = orrelith::SaverFiles::real().putInPlace;
    configuration.userInterface = std::move(userInterface);
    configuration.now = [] {
        return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    };
    return std::make_shared<AppcastUpdateService>(std::move(configuration));
}

// Where no display opens, a background check still installs the screen saver and updates quietly; what it
// would have shown goes to the log.
std::shared_ptr<orrelith::platform::UpdateUserInterface> installHeadless(orrelith::platform::Services& services) {
    using namespace orrelith::platform;
    services.alert = std::make_shared<LoggedAlert>();
    services.application = std::make_shared<GlibHeadlessApplication>();
    return std::make_shared<LoggedUpdateUserInterface>();
}

std::shared_ptr<orrelith::platform::UpdateUserInterface> installInteractive(orrelith::platform::Services& services) {
    using namespace orrelith::platform;
    auto bundle = services.system->mainBundle();
    services.alert = std::make_shared<AdwAlert>();
    services.application =
        std::make_shared<GtkRunningApplication>(bundle ? bundle->bundleIdentifier().value_or(identifier) : identifier);
    return AdwUpdateUserInterface::create();
}

} // namespace

int main() {
    using namespace orrelith;
    auto services = platform::linuxServices();
    bool headless = !services.windows;
    if (headless && !Updates::checkOnly(services.system->arguments())) {
        std::cerr << "Quorvane Options needs a display.\n";
        return 1;
    }
    auto userInterface = headless ? installHeadless(services) : installInteractive(services);
    auto updates = makeUpdates(services, std::move(userInterface));
    services.updates = updates;
    platform::install(std::move(services));
    int status = AppDelegate::runApplication(presentWindow);
    // A release staged during the run takes the bundle's place now that nothing of it runs any more.
    if (updates)
        updates->installOnQuit();
    platform::uninstall();
    return status;
}
