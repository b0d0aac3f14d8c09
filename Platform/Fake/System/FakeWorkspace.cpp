#include "Platform/Fake/System/FakeWorkspace.hpp"

namespace orrelith::platform {

FakeWorkspace::FakeWorkspace(std::shared_ptr<MainQueue> queue)
    : center(FakeNotificationCenter::create(Delivery::Synchronous, queue)), queue_(std::move(queue)) {}

std::optional<std::filesystem::path> FakeWorkspace::urlForApplication(const std::string& bundleIdentifier) {
    record_.lookups.push_back(bundleIdentifier);
    auto found = applications.find(bundleIdentifier);
    if (found == applications.end())
        return std::nullopt;
    return found->second;
}

void FakeWorkspace::openApplication(const std::filesystem::path& application,
                                    const OpenConfiguration& configuration,
                                    std::function<void(std::optional<std::string> error)> completion) {
    record_.opens.push_back({application, configuration});
    // The outcome is fixed when the call is made, as a launch decides it then.
    auto outcome = openError;
    std::weak_ptr<FakeWorkspace> weak = weak_from_this();
    queue_->async([completion = std::move(completion), outcome, weak] {
        if (auto self = weak.lock())
            ++self->record_.completions;
        if (completion)
            completion(outcome);
    });
}

} // namespace orrelith::platform
