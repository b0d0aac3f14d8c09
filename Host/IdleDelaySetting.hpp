#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orrelith::host {

// The settings pane's "Start after" choice, and what it changes: the delay stored as "idleDelay" (seconds
// as text) in the host's standard user defaults, which a running daemon follows; the XDG autostart entry
// that starts the daemon at login; and the daemon itself, through platform::screenSaverHost(). "Never"
// removes the entry and stops the daemon, leaving the stored delay for the next choice. Main thread only;
// synchronous.
class IdleDelaySetting {
public:
    static constexpr const char* key = "idleDelay";
    static constexpr double defaultSeconds = 300;

    struct Choice {
        std::string title;
        // Nothing for "Never".
        std::optional<int> seconds;
    };
    static const std::vector<Choice>& choices();

    // The stored delay when it is a positive number of seconds.
    static std::optional<double> storedSeconds();

    // `autostartFile` is where the entry goes (AutostartEntry::file); `program` the host's absolute path.
    IdleDelaySetting(std::filesystem::path autostartFile, std::filesystem::path program);

    // The choice the user's state shows: "Never" without the autostart entry, else the stored delay (the
    // default when none), a value that is no choice shown as the nearest one.
    std::size_t current() const;
    // Applies choice `index`. Answers what went wrong, for the user, or nothing.
    std::optional<std::string> choose(std::size_t index);

private:
    std::filesystem::path autostartFile_;
    std::filesystem::path program_;
};

} // namespace orrelith::host
