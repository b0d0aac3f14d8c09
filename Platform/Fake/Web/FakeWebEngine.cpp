#include "Platform/Fake/Web/FakeWebEngine.hpp"

namespace orrelith::platform {

std::unique_ptr<WebViewBackend> FakeWebEngine::makeWebViewBackend(const WebViewConfiguration& configuration) {
    record_.configurations.push_back(configuration);
    auto backend = std::make_unique<FakeWebViewBackend>(clock_, supportsOcclusionDetection);
    made_.emplace_back(backend->lifetime(), backend.get());
    return backend;
}

std::shared_ptr<WebsiteDataStore> FakeWebEngine::makeNonPersistentDataStore() {
    ++record_.dataStoresMade;
    return std::make_shared<FakeWebsiteDataStore>(static_cast<int>(record_.dataStoresMade));
}

std::vector<FakeWebViewBackend*> FakeWebEngine::backends() const {
    std::vector<FakeWebViewBackend*> live;
    for (const auto& [lifetime, backend] : made_)
        if (!lifetime.expired())
            live.push_back(backend);
    return live;
}

} // namespace orrelith::platform
