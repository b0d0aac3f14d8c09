#pragma once

#include "Platform/Web/ContentRuleListStore.hpp"
#include "Platform/Web/WebViewConfiguration.hpp"
#include "Platform/Web/WebsiteDataStore.hpp"

#include <memory>

namespace orrelith::platform {

class WebViewBackend;

// The web engine of the process: it makes the toolkit's side of web views, their data stores, and keeps
// the default content rule list store. Main thread only.
class WebEngine {
public:
    virtual ~WebEngine() = default;
    // The backend of a new web view set up from `configuration` (the WebView keeps the configuration).
    virtual std::unique_ptr<WebViewBackend> makeWebViewBackend(const WebViewConfiguration& configuration) = 0;
    // A new in-memory store, shared by no web view yet.
    virtual std::shared_ptr<WebsiteDataStore> makeNonPersistentDataStore() = 0;
    // The process-wide default store, alive as long as the engine.
    virtual ContentRuleListStore& defaultContentRuleListStore() = 0;
};

} // namespace orrelith::platform
