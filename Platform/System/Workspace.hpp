#pragma once

#include "Platform/System/NotificationCenter.hpp"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orrelith::platform {

struct OpenConfiguration {
    std::vector<std::string> arguments;
    bool activates = true;
};

// The shared workspace: the displays' sleep and wake, and applications. Main thread only.
class Workspace {
public:
    static constexpr const char* screensDidSleepNotification = "NSWorkspaceScreensDidSleepNotification";
    static constexpr const char* screensDidWakeNotification = "NSWorkspaceScreensDidWakeNotification";

    virtual ~Workspace() = default;
    // The workspace's own center, which posts the sleep and wake notifications above.
    virtual NotificationCenter& notificationCenter() = 0;
    // The application bundle that carries `bundleIdentifier` in its Info.plist, looked for in the
    // application folders; nothing when none does.
    virtual std::optional<std::filesystem::path> urlForApplication(const std::string& bundleIdentifier) = 0;
    // Starts the application's executable detached with the arguments. `completion` runs exactly once, on a
    // later turn of the main queue (never synchronously), with nothing on success or an error text.
    virtual void openApplication(const std::filesystem::path& application, const OpenConfiguration& configuration,
                                 std::function<void(std::optional<std::string> error)> completion) = 0;
};

} // namespace orrelith::platform
