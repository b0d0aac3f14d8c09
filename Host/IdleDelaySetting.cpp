#include "Host/IdleDelaySetting.hpp"

#include "Host/AutostartEntry.hpp"
#include "Platform/App/ScreenSaverHost.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/UserDefaults.hpp"

#include <cmath>
#include <cstdlib>
#include <exception>

namespace orrelith::host {

const std::vector<IdleDelaySetting::Choice>& IdleDelaySetting::choices() {
    static const std::vector<Choice> table{
        {"1 minute", 60},    {"2 minutes", 120},   {"5 minutes", 300},   {"10 minutes", 600},
        {"20 minutes", 1200}, {"30 minutes", 1800}, {"1 hour", 3600},     {"Never", std::nullopt},
    };
    return table;
}

std::optional<double> IdleDelaySetting::storedSeconds() {
    auto stored = platform::preferences().standardUserDefaults()->dataForKey(key);
    if (!stored || stored->empty())
        return std::nullopt;
    char* end = nullptr;
    double seconds = std::strtod(stored->c_str(), &end);
    if (!end || *end != '\0' || !std::isfinite(seconds) || seconds <= 0)
        return std::nullopt;
    return seconds;
}

IdleDelaySetting::IdleDelaySetting(std::filesystem::path autostartFile, std::filesystem::path program)
    : autostartFile_(std::move(autostartFile)), program_(std::move(program)) {}

std::size_t IdleDelaySetting::current() const {
    std::error_code error;
    if (!std::filesystem::exists(autostartFile_, error))
        return choices().size() - 1;
    double seconds = storedSeconds().value_or(defaultSeconds);
    std::size_t nearest = 0;
    for (std::size_t i = 1; i + 1 < choices().size(); ++i)
        if (std::abs(*choices()[i].seconds - seconds) < std::abs(*choices()[nearest].seconds - seconds))
            nearest = i;
    return nearest;
}

std::optional<std::string> IdleDelaySetting::choose(std::size_t index) {
    const auto& choice = choices().at(index);
    auto& host = platform::screenSaverHost();
    if (!choice.seconds) {
        AutostartEntry::remove(autostartFile_);
        host.stopDaemons();
        return std::nullopt;
    }
    // Stored first: a daemon started below reads it, one running follows it.
    platform::preferences().standardUserDefaults()->setData(key, std::to_string(*choice.seconds));
    try {
        AutostartEntry::install(autostartFile_, program_);
    } catch (const std::exception& error) {
        return "The screen saver cannot be started at login: " + std::string(error.what());
    }
    if (!host.daemonRunning() && !host.startDaemon())
        return std::string("The screen saver cannot be started now; it will start at your next login.");
    return std::nullopt;
}

} // namespace orrelith::host
