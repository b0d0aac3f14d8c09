#include "Platform/Linux/Web/GtkWebEngine.hpp"

#include "Platform/Linux/System/GlibSources.hpp"
#include "Platform/Linux/Web/GtkURLSchemeTask.hpp"
#include "Platform/Linux/Web/GtkWebView.hpp"
#include "Platform/Linux/Web/GtkWebsiteDataStore.hpp"

#include <set>

namespace orrelith::platform {

namespace {

void failRequest(WebKitURISchemeRequest* request) {
    GError* error = g_error_new_literal(G_IO_ERROR, G_IO_ERROR_NOT_SUPPORTED, "no handler for this web view");
    webkit_uri_scheme_request_finish_error(request, error);
    g_error_free(error);
}

void schemeRequested(WebKitURISchemeRequest* request, gpointer) {
    GtkWebView* backend = GtkWebView::of(webkit_uri_scheme_request_get_web_view(request));
    if (!backend || !backend->events()) {
        failRequest(request);
        return;
    }
    auto task = std::make_shared<GtkURLSchemeTask>(request);
    glib::runGuarded([&] { backend->events()->startURLSchemeTask(task); }, "URL scheme task");
}

} // namespace

GtkWebEngine::GtkWebEngine(std::filesystem::path ruleListFolder) : ruleLists_(std::move(ruleListFolder)) {}

std::filesystem::path GtkWebEngine::ruleListFolder(const std::filesystem::path& home, const std::string& identifier) {
    return home / "Library" / "Caches" / identifier / "WebKit" / "ContentRuleLists";
}

std::unique_ptr<WebViewBackend> GtkWebEngine::makeWebViewBackend(const WebViewConfiguration& configuration) {
    for (const auto& [scheme, handler] : configuration.urlSchemeHandlers())
        if (handler)
            registerScheme(scheme);
    return std::make_unique<GtkWebView>(configuration);
}

std::shared_ptr<WebsiteDataStore> GtkWebEngine::makeNonPersistentDataStore() {
    return std::make_shared<GtkWebsiteDataStore>();
}

// WebKit allows one registration per scheme and context, for the life of the process.
void GtkWebEngine::registerScheme(const std::string& scheme) {
    static std::set<std::string> registered;
    if (!registered.insert(scheme).second)
        return;
    webkit_web_context_register_uri_scheme(webkit_web_context_get_default(), scheme.c_str(), schemeRequested,
                                           nullptr, nullptr);
}

} // namespace orrelith::platform
