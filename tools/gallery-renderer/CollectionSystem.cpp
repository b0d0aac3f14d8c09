#include "CollectionSystem.hpp"

namespace orrelith::gallery {

CollectionSystem::CollectionSystem(std::shared_ptr<platform::System> real, std::filesystem::path resources)
    : real_(std::move(real)), resources_(std::move(resources)) {}

std::optional<platform::Bundle> CollectionSystem::bundleContaining(const void*) {
    return platform::Bundle{resources_.parent_path(), resources_, {}, {}};
}

std::optional<platform::Bundle> CollectionSystem::bundleAt(const std::filesystem::path& folder) {
    return real_->bundleAt(folder);
}

std::optional<platform::Bundle> CollectionSystem::mainBundle() { return real_->mainBundle(); }

std::vector<std::string> CollectionSystem::arguments() { return real_->arguments(); }

int CollectionSystem::processIdentifier() { return real_->processIdentifier(); }

std::filesystem::path CollectionSystem::homeFolder() { return real_->homeFolder(); }

void CollectionSystem::log(const std::string& message) { real_->log(message); }

} // namespace orrelith::gallery
