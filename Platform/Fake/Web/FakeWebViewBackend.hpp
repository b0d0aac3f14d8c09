#pragma once

#include "Platform/Fake/Web/FakeURLSchemeTask.hpp"
#include "Platform/Fake/Views/FakeViewBackend.hpp"
#include "Platform/Web/WebView.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orrelith::platform {

class FakeWebEngine;

// One load a fake web view was asked for.
struct FakeWebLoad {
    enum class Kind { Request, HTMLString };
    Kind kind = Kind::Request;
    URLRequest request;
    std::string html;
    std::optional<std::string> baseURL;
};

// What a web view backend was told, in plain fields.
struct FakeWebViewState {
    std::vector<FakeWebLoad> loads;
    std::size_t stops = 0;
    // Between a load and its end (finished, stopped, timed out, process died).
    bool loading = false;
    std::optional<bool> occlusionDetection;
    std::optional<bool> drawsBackground;
    std::optional<Color> underPageBackground;
    std::optional<bool> allowsMagnification;
    std::optional<bool> allowsBackForwardGestures;
    bool webContentProcessTerminated = false;
};

// A web view's engine side in memory. A test plays the engine through the methods below; each one stands
// for an engine callback on a later turn. Main thread only.
class FakeWebViewBackend : public FakeViewBackendOf<WebViewBackend> {
public:
    FakeWebViewBackend(std::shared_ptr<const FakeMainQueue> clock, bool supportsOcclusionDetection);
    ~FakeWebViewBackend() override;
    // The fake backend of a web view made while the fake web engine was installed.
    static FakeWebViewBackend& of(const WebView& view);

    void setEvents(WebViewEvents* events) override { events_ = events; }
    void load(const URLRequest& request) override;
    void loadHTMLString(const std::string& html, const std::optional<std::string>& baseURL) override;
    void stopLoading() override;
    bool supports(WebViewSwitch which) const override;
    void setSwitch(WebViewSwitch which, bool on) override;
    void setUnderPageBackgroundColor(const Color& color) override { webState.underPageBackground = color; }
    void setAllowsMagnification(bool allows) override { webState.allowsMagnification = allows; }
    void setAllowsBackForwardNavigationGestures(bool allows) override {
        webState.allowsBackForwardGestures = allows;
    }

    // The main frame finished loading.
    void finishNavigation();
    // Asks the delegate about a navigation. The answer is appended to decisions() when it comes;
    // returned when it came before this call returns.
    std::optional<NavigationActionPolicy> decidePolicy(const NavigationAction& action);
    void terminateWebContentProcess();
    // The current load's timeout ran out: it ends without a finished navigation.
    void timeOut();
    // The page requests `url`; the view's scheme handler gets the task.
    std::shared_ptr<FakeURLSchemeTask> startSchemeTask(const std::string& url);
    void stopSchemeTask(const std::shared_ptr<FakeURLSchemeTask>& task);
    bool hasEvents() const { return events_ != nullptr; }
    // Policy answers in the order the delegate gave them.
    const std::vector<NavigationActionPolicy>& decisions() const { return *decisions_; }
    // Expires when this backend goes away.
    std::weak_ptr<const void> lifetime() const { return lifetime_; }

    FakeWebViewState webState;

private:
    WebViewEvents* events_ = nullptr;
    bool supportsOcclusionDetection_;
    // Held weakly by pending answers, so that one arriving after this backend went away is dropped.
    std::shared_ptr<std::vector<NavigationActionPolicy>> decisions_ =
        std::make_shared<std::vector<NavigationActionPolicy>>();
    std::shared_ptr<const void> lifetime_ = std::make_shared<char>(0);
};

} // namespace orrelith::platform
