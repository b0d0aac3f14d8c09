#pragma once

#include "Platform/System/System.hpp"
#include "Platform/Linux/System/LogindSleepWatcher.hpp"
#include "Platform/Linux/System/SynchronousNotificationCenter.hpp"
#include "Platform/System/MainQueue.hpp"
#include "Platform/System/Workspace.hpp"

#include <memory>
#include <vector>

namespace orrelith::platform {

// The shared workspace on Linux. Its center posts the displays' sleep and wake when logind announces the
// system's sleep (nothing when there is no logind). Applications are bundles ("*.app" folders) directly
// inside the application folders, searched in the order given; opening one starts
// Contents/Linux/<CFBundleExecutable> detached from this process (GLib's double fork: no zombie, no
// parent-child tie), with the configuration's arguments. Main thread only.
class LinuxWorkspace : public Workspace, public std::enable_shared_from_this<LinuxWorkspace> {
public:
    static std::shared_ptr<LinuxWorkspace> create(std::shared_ptr<MainQueue> queue, std::shared_ptr<System> system,
                                                  std::vector<std::filesystem::path> applicationFolders);

    NotificationCenter& notificationCenter() override { return center_; }
    std::optional<std::filesystem::path> urlForApplication(const std::string& bundleIdentifier) override;
    void openApplication(const std::filesystem::path& application, const OpenConfiguration& configuration,
                         std::function<void(std::optional<std::string> error)> completion) override;

    // Starts the application now; the error text, or nothing when it was started.
    std::optional<std::string> launch(const std::filesystem::path& application, const OpenConfiguration& configuration);

private:
    LinuxWorkspace(std::shared_ptr<MainQueue> queue, std::shared_ptr<System> system,
                   std::vector<std::filesystem::path> applicationFolders);
    void watchSleep();

    std::shared_ptr<MainQueue> queue_;
    std::shared_ptr<System> system_;
    std::vector<std::filesystem::path> folders_;
    SynchronousNotificationCenter center_;
    std::shared_ptr<LogindSleepWatcher> sleep_;
};

} // namespace orrelith::platform
