#include "Saver/OptionsLauncher.hpp"

#include "OrrelithCore/Base64.hpp"
#include "OrrelithCore/SettingsFile.hpp"
#include "OrrelithCore/SettingsStore.hpp"
#include "Platform/System/MainQueue.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/System.hpp"
#include "Platform/System/UserDefaults.hpp"
#include "Platform/System/Workspace.hpp"
#include "Saver/LaunchSheet.hpp"
#include "Saver/LaunchState.hpp"
#include "Saver/OptionsStore.hpp"

#include <stdexcept>

namespace orrelith {

using namespace platform;

std::shared_ptr<Window> OptionsLauncher::open() {
    auto state = std::make_shared<LaunchState>();
    auto window = Window::create(Rect::make(0, 0, LaunchSheet::width, LaunchSheet::height), WindowStyle::Titled);
    std::weak_ptr<Window> weakWindow = window;
    std::function<void()> dismiss = [weakWindow] {
        auto window = weakWindow.lock();
        if (!window)
            return;
        if (auto parent = window->sheetParent())
            parent->endSheet(*window);
        else
            window->close();
    };
    window->setContentView(LaunchSheet::create(state, dismiss));
    OpenConfiguration configuration;
    configuration.activates = true;
    configuration.arguments = handOverArguments();
    auto application = workspace().urlForApplication(bundleIdentifier).value_or(fallbackLocation);
    workspace().openApplication(application, configuration,
                                [state, window, dismiss](std::optional<std::string> error) {
                                    mainQueue().async([state, window, dismiss, failed = error.has_value()] {
                                        if (failed)
                                            state->setFailed(true);
                                        else
                                            dismissWhenShown(window, dismiss, dismissTries);
                                    });
                                });
    return window;
}

std::vector<std::string> OptionsLauncher::handOverArguments() {
    if (SettingsFile::inSupport(platform::system().homeFolder(), "ORVEX").load())
        return {};
    Settings settings = SettingsStore(*OptionsStore::legacyDefaults()).load();
    try {
        return {"--import", Base64::encode(settings.encode())};
    } catch (const std::invalid_argument&) {
        return {};
    }
}

void OptionsLauncher::dismissWhenShown(const std::shared_ptr<Window>& window, std::function<void()> dismiss,
                                       int tries) {
    if (window->sheetParent()) {
        dismiss();
        return;
    }
    if (tries == 0) {
        dismiss();
        return;
    }
    mainQueue().asyncAfter(dismissPollInterval, [window, dismiss, tries] {
        dismissWhenShown(window, dismiss, tries - 1);
    });
}

} // namespace orrelith
