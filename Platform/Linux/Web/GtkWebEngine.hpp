#pragma once

#include "Platform/Linux/Web/GtkContentRuleListStore.hpp"
#include "Platform/Web/WebEngine.hpp"

#include <filesystem>
#include <memory>

namespace orrelith::platform {

// WebKitGTK 6.0. URL schemes are registered once per process, on WebKit's default web context, the first
// time a configuration asks for one; every request is routed to the handler of the web view that made it,
// and a request from any other web view fails. Main thread only; needs GTK initialised.
class GtkWebEngine : public WebEngine {
public:
    // `ruleListFolder`: a folder of the content rule list store's own, made on the first compilation.
    explicit GtkWebEngine(std::filesystem::path ruleListFolder);

    std::unique_ptr<WebViewBackend> makeWebViewBackend(const WebViewConfiguration& configuration) override;
    std::shared_ptr<WebsiteDataStore> makeNonPersistentDataStore() override;
    ContentRuleListStore& defaultContentRuleListStore() override { return ruleLists_; }

    // Where an application keeps its compiled rule lists: Library/Caches/<identifier>/WebKit/ContentRuleLists
    // under the home folder.
    static std::filesystem::path ruleListFolder(const std::filesystem::path& home, const std::string& identifier);

private:
    static void registerScheme(const std::string& scheme);

    GtkContentRuleListStore ruleLists_;
};

} // namespace orrelith::platform
