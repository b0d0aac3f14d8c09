#include "Platform/Linux/System/LinuxWorkspace.hpp"

#include <algorithm>

#include <glib.h>

namespace orrelith::platform {

std::shared_ptr<LinuxWorkspace> LinuxWorkspace::create(std::shared_ptr<MainQueue> queue, std::shared_ptr<System> system,
                                                       std::vector<std::filesystem::path> applicationFolders) {
    auto workspace = std::shared_ptr<LinuxWorkspace>(
        new LinuxWorkspace(std::move(queue), std::move(system), std::move(applicationFolders)));
    workspace->watchSleep();
    return workspace;
}

LinuxWorkspace::LinuxWorkspace(std::shared_ptr<MainQueue> queue, std::shared_ptr<System> system,
                               std::vector<std::filesystem::path> applicationFolders)
    : queue_(std::move(queue)), system_(std::move(system)), folders_(std::move(applicationFolders)) {}

void LinuxWorkspace::watchSleep() {
    std::weak_ptr<LinuxWorkspace> weak = weak_from_this();
    sleep_ = LogindSleepWatcher::create([weak](bool sleeping) {
        auto self = weak.lock();
        if (!self)
            return;
        self->center_.post(sleeping ? screensDidSleepNotification : screensDidWakeNotification);
    });
}

std::optional<std::filesystem::path> LinuxWorkspace::urlForApplication(const std::string& bundleIdentifier) {
    for (const auto& folder : folders_) {
        std::error_code error;
        std::vector<std::filesystem::path> candidates;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            if (entry.path().extension() == ".app" && entry.is_directory(error))
                candidates.push_back(entry.path());
        std::sort(candidates.begin(), candidates.end());
        for (const auto& candidate : candidates) {
            auto bundle = system_->bundleAt(candidate);
            if (bundle && bundle->bundleIdentifier() == bundleIdentifier)
                return candidate;
        }
    }
    return std::nullopt;
}

std::optional<std::string> LinuxWorkspace::launch(const std::filesystem::path& application,
                                                  const OpenConfiguration& configuration) {
    auto bundle = system_->bundleAt(application);
    if (!bundle)
        return "The application \"" + application.filename().string() + "\" could not be found.";
    if (!bundle->executablePath)
        return "The application \"" + application.filename().string() + "\" has no executable.";
    std::vector<std::string> words{bundle->executablePath->string()};
    words.insert(words.end(), configuration.arguments.begin(), configuration.arguments.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    GError* error = nullptr;
    // Without G_SPAWN_DO_NOT_REAP_CHILD, GLib starts the program through an intermediate child, so the
    // application is not our child: it outlives us and leaves no zombie.
    if (g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr, &error))
        return std::nullopt;
    std::string message = error ? error->message : "The application could not be started.";
    g_clear_error(&error);
    return message;
}

void LinuxWorkspace::openApplication(const std::filesystem::path& application, const OpenConfiguration& configuration,
                                     std::function<void(std::optional<std::string> error)> completion) {
    auto outcome = launch(application, configuration);
    queue_->async([completion = std::move(completion), outcome] {
        if (completion)
            completion(outcome);
    });
}

} // namespace orrelith::platform
