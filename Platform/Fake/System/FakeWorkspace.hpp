#pragma once

#include "Platform/Fake/System/FakeNotificationCenter.hpp"
#include "Platform/System/Workspace.hpp"

#include <map>

namespace orrelith::platform {

// The shared workspace in memory: applications come from a table, opening one is recorded and completes
// on a later turn with the outcome a test sets. Main thread only.
class FakeWorkspace : public Workspace, public std::enable_shared_from_this<FakeWorkspace> {
public:
    struct OpenCall {
        std::filesystem::path application;
        OpenConfiguration configuration;
    };
    struct Record {
        std::vector<std::string> lookups;
        std::vector<OpenCall> opens;
        std::size_t completions = 0;
    };

    explicit FakeWorkspace(std::shared_ptr<MainQueue> queue);

    NotificationCenter& notificationCenter() override { return *center; }
    std::optional<std::filesystem::path> urlForApplication(const std::string& bundleIdentifier) override;
    void openApplication(const std::filesystem::path& application, const OpenConfiguration& configuration,
                         std::function<void(std::optional<std::string> error)> completion) override;

    // Posts the displays' sleep or wake on the workspace's center, as the system would.
    void postScreensDidSleep() { center->post(screensDidSleepNotification); }
    void postScreensDidWake() { center->post(screensDidWakeNotification); }
    const Record& record() const { return record_; }

    // Delivers synchronously, as the workspace's own center does.
    std::shared_ptr<FakeNotificationCenter> center;
    // Bundle identifier to application folder.
    std::map<std::string, std::filesystem::path> applications;
    // What every open completes with: nothing for success, else the error text.
    std::optional<std::string> openError;

private:
    std::shared_ptr<MainQueue> queue_;
    Record record_;
};

} // namespace orrelith::platform
