#pragma once

#include "Platform/Web/ContentRuleList.hpp"
#include "Platform/Views/Geometry.hpp"
#include "Platform/Web/WebView.hpp"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orrelith {

// Process-wide helpers for scene web views: the factory that builds them cut off from the network, the
// URLs of scene pages and of the catalog, and the network-blocking rule list. Its tables are filled on
// first use and live as long as the process. Main thread only.
struct SceneWeb {
    static constexpr std::string_view scheme = "orrelith";
    static constexpr std::string_view urlPrefix = "orrelith://bundle/";
    static constexpr std::string_view ruleListIdentifier = "orrelith.offline";
    // Blocks every URL beginning with http://, https://, ws:// or wss://.
    static const std::string& ruleListJSON();

    // A new scene web view with the frame: bundle files through the scheme handler, storage of its own in
    // memory, no throttling, the chrome-hiding script, no background of its own, no zoom or swipe, and the
    // network blocked once the rule list is compiled. Loads nothing and has no navigation delegate.
    static std::shared_ptr<platform::WebView> makeWebView(const platform::Rect& frame);
    // Makes sure the rule list is compiled, then calls `completion` once: at once when it already is,
    // otherwise on the later turn on which the compilation ends (also after a failure).
    static void prepareBlocker(std::function<void()> completion);
    // The compiled rule list; null until a compilation has succeeded.
    static std::shared_ptr<platform::ContentRuleList> ruleList();

    // `text` as a double-quoted JavaScript (JSON) string literal: the quotation mark, the backslash and "/"
    // are escaped with a backslash, control characters as \b \f \n \r \t or \u00xx; the rest is kept.
    static std::string jsString(std::string_view text);
    // The injected script: it adds the style sheet below at document start, in the main frame only.
    static std::string chromeHidingScript();
    static const std::string& chromeHidingStyleSheet();

    // "orrelith://bundle/" followed by the scene's page path.
    static std::string url(const std::string& slug);
    // The catalog file in the bundle's resources; nothing when the bundle has no resource folder.
    static std::optional<std::filesystem::path> catalogURL();
    // Slug to page path, read once from the catalog; empty when the catalog cannot be read or decoded.
    static const std::map<std::string, std::string>& pages();

    // Forgets the rule list and the page table, for tests that install a new platform.
    static void resetForTesting();
};

} // namespace orrelith
