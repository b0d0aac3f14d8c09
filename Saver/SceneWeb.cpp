#include "Saver/SceneWeb.hpp"

#include "OrrelithCore/Catalog.hpp"
#include "Platform/Platform.hpp"
#include "Platform/Web/WebEngine.hpp"
#include "Saver/BundleSchemeHandler.hpp"

#include <fstream>
#include <sstream>

namespace orrelith {

using namespace platform;

namespace {

struct SceneWebState {
    std::shared_ptr<ContentRuleList> ruleList;
    std::optional<std::map<std::string, std::string>> pages;
};

SceneWebState& state() {
    static SceneWebState shared;
    return shared;
}

std::optional<std::string> readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad())
        return std::nullopt;
    return content.str();
}

std::map<std::string, std::string> readPages() {
    std::map<std::string, std::string> pages;
    auto catalogPath = SceneWeb::catalogURL();
    auto json = catalogPath ? readFile(*catalogPath) : std::nullopt;
    if (!json)
        return pages;
    try {
        // emplace keeps the first scene of a repeated slug.
        for (const auto& scene : Catalog::decode(*json).scenes)
            pages.emplace(scene.slug, scene.path.value_or(scene.slug + ".html"));
    } catch (const DecodingError&) {
        pages.clear();
    }
    return pages;
}

WebViewConfiguration sceneConfiguration() {
    WebViewConfiguration configuration;
    configuration.setURLSchemeHandler(BundleSchemeHandler::shared(), std::string(SceneWeb::scheme));
    configuration.websiteDataStore = web().makeNonPersistentDataStore();
    configuration.suppressesIncrementalRendering = false;
    configuration.preferences.inactiveSchedulingPolicy = InactiveSchedulingPolicy::None;
    configuration.userContentController.addUserScript(
        {SceneWeb::chromeHidingScript(), UserScriptInjectionTime::AtDocumentStart, UserScriptFrames::MainFrameOnly});
    if (state().ruleList)
        configuration.userContentController.addContentRuleList(state().ruleList);
    return configuration;
}

} // namespace

const std::string& SceneWeb::ruleListJSON() {
    // WebKit checks WebSocket URLs against the rules as they are, so http and https alone leave them open.
    static const std::string json = R"([{"trigger":{"url-filter":"^https?://"},"action":{"type":"block"}},)"
                                    R"({"trigger":{"url-filter":"^wss?://"},"action":{"type":"block"}}])";
    return json;
}

std::shared_ptr<WebView> SceneWeb::makeWebView(const Rect& frame) {
    auto view = WebView::create(frame, sceneConfiguration());
    if (view->supports(WebViewSwitch::WindowOcclusionDetection))
        view->setSwitch(WebViewSwitch::WindowOcclusionDetection, false);
    view->setAutoresizingMask(AutoresizingMask::WidthSizable | AutoresizingMask::HeightSizable);
    view->setSwitch(WebViewSwitch::DrawsBackground, false);
    view->setUnderPageBackgroundColor(Color::black());
    view->setAllowsMagnification(false);
    view->setAllowsBackForwardNavigationGestures(false);
    return view;
}

void SceneWeb::prepareBlocker(std::function<void()> completion) {
    if (state().ruleList) {
        completion();
        return;
    }
    web().defaultContentRuleListStore().compileContentRuleList(
        std::string(ruleListIdentifier), ruleListJSON(),
        [completion = std::move(completion)](std::shared_ptr<ContentRuleList> list) {
            // A failure never takes away a list that another compilation has already delivered.
            if (list)
                state().ruleList = std::move(list);
            if (completion)
                completion();
        });
}

std::shared_ptr<ContentRuleList> SceneWeb::ruleList() { return state().ruleList; }

std::string SceneWeb::jsString(std::string_view text) {
    static const char* const hex = "0123456789abcdef";
    std::string literal = "\"";
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': literal += "\\\""; break;
        case '\\': literal += "\\\\"; break;
        case '/': literal += "\\/"; break;
        case '\b': literal += "\\b"; break;
        case '\f': literal += "\\f"; break;
        case '\n': literal += "\\n"; break;
        case '\r': literal += "\\r"; break;
        case '\t': literal += "\\t"; break;
        default:
            if (byte < 0x20)
                literal += std::string("\\u00") + hex[byte >> 4] + hex[byte & 0xF];
            else
                literal.push_back(c);
        }
    }
    return literal + "\"";
}

const std::string& SceneWeb::chromeHidingStyleSheet() {
    static const std::string sheet =
        "#chrome-top, #chrome-bottom, .orrelith-chrome-top, .orrelith-chrome-bottom,\n"
        ".orrelith-press-any-key, #btn-fullscreen, #btn-share { display: none !important; }\n"
        "html, body, * { cursor: none !important; }";
    return sheet;
}

std::string SceneWeb::chromeHidingScript() {
    return "(function(){var s=document.createElement('style');s.textContent=" + jsString(chromeHidingStyleSheet()) +
           ";(document.head||document.documentElement).appendChild(s);})();";
}

std::string SceneWeb::url(const std::string& slug) {
    const auto& table = pages();
    auto found = table.find(slug);
    return std::string(urlPrefix) + (found == table.end() ? slug + ".html" : found->second);
}

std::optional<std::filesystem::path> SceneWeb::catalogURL() {
    auto resources = BundleSchemeHandler::resourceFolder();
    if (!resources)
        return std::nullopt;
    return *resources / "ORVEX" / "catalog.json";
}

const std::map<std::string, std::string>& SceneWeb::pages() {
    auto& pages = state().pages;
    if (!pages)
        pages = readPages();
    return *pages;
}

void SceneWeb::resetForTesting() { state() = SceneWebState{}; }

} // namespace orrelith
