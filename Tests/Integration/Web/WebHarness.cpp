#include "WebHarness.hpp"

#include "Platform/Linux/Views/GdkScreenList.hpp"
#include "Platform/Linux/System/GlibMainQueue.hpp"
#include "Platform/Linux/Views/GtkWindowSystem.hpp"
#include "Platform/Platform.hpp"
#include "Saver/SceneThumbnails.hpp"
#include "Saver/SceneWeb.hpp"

#include <stdexcept>

namespace orrelith::testing {

using namespace platform;

WebHarness::WebHarness() {
    if (!gtk_init_check())
        throw std::runtime_error("no display: run under xvfb-run");
    SceneWeb::resetForTesting();
    system->codeBundle = bundle.bundle();
    engine = std::make_shared<GtkWebEngine>(bundle.folder() / "rule-lists");
    Services services;
    services.mainQueue = std::make_shared<GlibMainQueue>();
    auto screens = std::make_shared<GdkScreenList>(gdk_display_get_default());
    services.screens = screens;
    services.windows = std::make_shared<GtkWindowSystem>(services.mainQueue, screens);
    services.system = system;
    services.web = engine;
    install(std::move(services));
    window = Window::create(Rect::make(0, 0, 800, 600), WindowStyle::Titled);
    window->setContentView(View::create(Rect::make(0, 0, 800, 600)));
    window->orderFront();
}

WebHarness::~WebHarness() {
    window->close();
    window.reset();
    runUntil([] { return false; }, 0.1);
    SceneWeb::resetForTesting();
    uninstall();
}

void WebHarness::show(const std::shared_ptr<View>& view) const { window->contentView()->addSubview(view); }

WebKitWebView* WebHarness::webkitView(const WebView& view) {
    return dynamic_cast<GtkWebView&>(view.backend()).webView();
}

std::string WebHarness::title(const WebView& view) {
    const char* title = webkit_web_view_get_title(webkitView(view));
    return title ? title : "";
}

std::optional<nlohmann::json> WebHarness::report(const WebView& view, double seconds) {
    if (!runUntil([&] { return title(view).starts_with("done:"); }, seconds))
        return std::nullopt;
    return nlohmann::json::parse(title(view).substr(5));
}

void RecordingDelegate::decidePolicyForNavigationAction(WebView&, const NavigationAction& action,
                                                        std::function<void(NavigationActionPolicy)> handler) {
    actions.push_back(action);
    bool allowed = action.scheme() == "orrelith" && action.navigationType == NavigationType::Other;
    handler(allowed ? NavigationActionPolicy::Allow : NavigationActionPolicy::Cancel);
}

} // namespace orrelith::testing
