#pragma once

#include "Platform/Views/Window.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orrelith {

// The screen saver's configuration sheet: opening it starts the options application, hands it the
// settings when they are not stored where it will find them, and closes itself once the host shows it.
// No instances. Main thread only.
struct OptionsLauncher {
    static constexpr const char* bundleIdentifier = "org.kestrin.orvex.options";
    static constexpr const char* fallbackLocation = "/Applications/Quorvane Options.app";
    static constexpr const char* moduleName = "org.kestrin.orvex";
    static constexpr int dismissTries = 20;
    static constexpr double dismissPollInterval = 0.1;

    // A new sheet window (360 x 128, titled) showing the launch state; the application opens meanwhile.
    static std::shared_ptr<platform::Window> open();
    // Nothing when the settings document is readable; else "--import" and the Base64 of the legacy record.
    static std::vector<std::string> handOverArguments();

private:
    static void dismissWhenShown(const std::shared_ptr<platform::Window>& window, std::function<void()> dismiss,
                                 int tries);
};

} // namespace orrelith
