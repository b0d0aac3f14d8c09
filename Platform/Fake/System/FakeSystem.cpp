#include "Platform/Fake/System/FakeSystem.hpp"

namespace orrelith::platform {

std::optional<Bundle> FakeSystem::bundleContaining(const void* codeAddress) {
    record_.codeLookups.push_back(codeAddress);
    return codeBundle;
}

std::optional<Bundle> FakeSystem::bundleAt(const std::filesystem::path& folder) {
    record_.bundleLookups.push_back(folder);
    auto found = bundles.find(folder);
    if (found == bundles.end())
        return std::nullopt;
    return found->second;
}

} // namespace orrelith::platform
