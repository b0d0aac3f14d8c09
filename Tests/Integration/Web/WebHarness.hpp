#pragma once

#include "../../SceneWebTests/TemporaryBundle.hpp"
#include "../Platform/MainLoopSupport.hpp"
#include "Platform/Fake/System/FakeSystem.hpp"
#include "Platform/Linux/Web/GtkWebEngine.hpp"
#include "Platform/Linux/Web/GtkWebView.hpp"
#include "Platform/Web/WebView.hpp"
#include "Platform/Views/Window.hpp"

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orrelith::testing {

// The real GTK window system, GLib main queue and WebKitGTK engine, installed for one test, with a
// temporary bundle standing for the code's bundle, a rule-list store folder of the test's own, and a
// window to show web views in. Needs a display (the tests run under xvfb-run).
class WebHarness {
public:
    WebHarness();
    ~WebHarness();
    WebHarness(const WebHarness&) = delete;
    WebHarness& operator=(const WebHarness&) = delete;

    // Puts `view` in the window, on top.
    void show(const std::shared_ptr<platform::View>& view) const;
    // Runs the main loop until `done` answers true or `seconds` have passed; answers `done`.
    static bool runUntil(const std::function<bool()>& done, double seconds) { return pumpUntil(done, seconds); }
    static WebKitWebView* webkitView(const platform::WebView& view);
    static std::string title(const platform::WebView& view);
    // The JSON a page put in its title after "done:", once it has; nothing after `seconds`.
    static std::optional<nlohmann::json> report(const platform::WebView& view, double seconds);

    TemporaryBundle bundle;
    std::shared_ptr<platform::FakeSystem> system = std::make_shared<platform::FakeSystem>();
    std::shared_ptr<platform::GtkWebEngine> engine;
    std::shared_ptr<platform::Window> window;
};

// Records what a web view tells its delegate and answers policy questions as a scene's owner does: only
// loads of the orrelith scheme that are not the user's (navigation type Other) are allowed.
struct RecordingDelegate : platform::NavigationDelegate {
    void didFinishNavigation(platform::WebView&) override { ++finished; }
    void decidePolicyForNavigationAction(platform::WebView&, const platform::NavigationAction& action,
                                         std::function<void(platform::NavigationActionPolicy)> handler) override;
    void webContentProcessDidTerminate(platform::WebView&) override { ++terminated; }

    int finished = 0;
    int terminated = 0;
    std::vector<platform::NavigationAction> actions;
};

} // namespace orrelith::testing
