#pragma once

#include "Platform/Web/ContentRuleList.hpp"
#include "Platform/Web/URLSchemeHandler.hpp"
#include "Platform/Web/WebsiteDataStore.hpp"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orrelith::platform {

enum class UserScriptInjectionTime { AtDocumentStart, AtDocumentEnd };
enum class UserScriptFrames { MainFrameOnly, AllFrames };

// A script the web view runs in its pages. A plain value.
struct UserScript {
    std::string source;
    UserScriptInjectionTime injectionTime = UserScriptInjectionTime::AtDocumentEnd;
    UserScriptFrames frames = UserScriptFrames::AllFrames;

    friend bool operator==(const UserScript&, const UserScript&) = default;
};

// The scripts and content rule lists a web view applies to its pages. A plain value, copied into the web view.
class UserContentController {
public:
    void addUserScript(UserScript script) { userScripts_.push_back(std::move(script)); }
    void addContentRuleList(std::shared_ptr<ContentRuleList> list) {
        if (list)
            contentRuleLists_.push_back(std::move(list));
    }
    const std::vector<UserScript>& userScripts() const { return userScripts_; }
    const std::vector<std::shared_ptr<ContentRuleList>>& contentRuleLists() const { return contentRuleLists_; }

private:
    std::vector<UserScript> userScripts_;
    std::vector<std::shared_ptr<ContentRuleList>> contentRuleLists_;
};

// How much a page is held back while its window is not the active one.
enum class InactiveSchedulingPolicy { Suspend = 0, Throttle = 1, None = 2 };

struct WebPreferences {
    InactiveSchedulingPolicy inactiveSchedulingPolicy = InactiveSchedulingPolicy::Throttle;
};

// Everything fixed when a web view is made. A plain value: the web view keeps its own copy, so changes made
// to a configuration afterwards do not reach views already made with it.
class WebViewConfiguration {
public:
    // Serves every request for URLs with `scheme` (compared without case) through `handler`.
    void setURLSchemeHandler(std::shared_ptr<URLSchemeHandler> handler, const std::string& scheme) {
        handlers_[lowercased(scheme)] = std::move(handler);
    }
    // The handler for `scheme`, or null.
    std::shared_ptr<URLSchemeHandler> urlSchemeHandler(const std::string& scheme) const {
        auto found = handlers_.find(lowercased(scheme));
        return found == handlers_.end() ? nullptr : found->second;
    }
    // Scheme (lower case) to handler.
    const std::map<std::string, std::shared_ptr<URLSchemeHandler>>& urlSchemeHandlers() const { return handlers_; }

    // Null: the engine's default, persistent store.
    std::shared_ptr<WebsiteDataStore> websiteDataStore;
    // True: nothing is painted until the page has loaded.
    bool suppressesIncrementalRendering = false;
    WebPreferences preferences;
    UserContentController userContentController;

private:
    static std::string lowercased(std::string text) {
        for (auto& c : text)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return text;
    }

    std::map<std::string, std::shared_ptr<URLSchemeHandler>> handlers_;
};

} // namespace orrelith::platform
