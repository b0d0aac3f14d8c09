#pragma once

#include "Platform/System/System.hpp"

#include <memory>

namespace orrelith::gallery {

// The running process as `real` sees it, except that all code lies in a bundle whose resource folder is
// `resources`: the scheme handler and the scene tables then serve the collection being worked on, with no
// build of the plug-in in between.
class CollectionSystem : public platform::System {
public:
    CollectionSystem(std::shared_ptr<platform::System> real, std::filesystem::path resources);

    std::optional<platform::Bundle> bundleContaining(const void* codeAddress) override;
    std::optional<platform::Bundle> bundleAt(const std::filesystem::path& folder) override;
    std::optional<platform::Bundle> mainBundle() override;
    std::vector<std::string> arguments() override;
    int processIdentifier() override;
    std::filesystem::path homeFolder() override;
    std::optional<std::filesystem::path> downloadsFolder() override { return std::nullopt; }
    void log(const std::string& message) override;

private:
    std::shared_ptr<platform::System> real_;
    std::filesystem::path resources_;
};

} // namespace orrelith::gallery
