#pragma once

#include "Platform/Web/NavigationDelegate.hpp"
#include "Platform/Web/URLRequest.hpp"
#include "Platform/Web/URLSchemeHandler.hpp"
#include "Platform/Views/View.hpp"
#include "Platform/Web/WebViewConfiguration.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace orrelith::platform {

// Settings that only some engines have; ask WebView::supports before relying on one.
enum class WebViewSwitch { WindowOcclusionDetection, DrawsBackground };

// What a web view backend reports to its web view. Main thread only, never synchronously inside a backend call.
class WebViewEvents {
public:
    virtual ~WebViewEvents() = default;
    // The main frame finished loading; not after a failed, stopped or timed-out load.
    virtual void navigationFinished() = 0;
    virtual void decidePolicy(const NavigationAction& action,
                              std::function<void(NavigationActionPolicy)> decisionHandler) = 0;
    virtual void webContentProcessTerminated() = 0;
    virtual void startURLSchemeTask(std::shared_ptr<URLSchemeTask> task) = 0;
    virtual void stopURLSchemeTask(std::shared_ptr<URLSchemeTask> task) = 0;
};

// The engine's side of one web view. Besides the ViewBackend calls it loads, and reports to the events
// sink the web view sets. Main thread only.
class WebViewBackend : public ViewBackend {
public:
    // The sink for events, or null to stop them. The web view sets itself for its whole life.
    virtual void setEvents(WebViewEvents* events) = 0;
    // Starts loading. A load whose main resource has not arrived after the request's timeoutInterval is
    // stopped and fails quietly.
    virtual void load(const URLRequest& request) = 0;
    virtual void loadHTMLString(const std::string& html, const std::optional<std::string>& baseURL) = 0;
    // Done when called: the stopped load reports nothing more.
    virtual void stopLoading() = 0;
    virtual bool supports(WebViewSwitch which) const = 0;
    // Only called for a supported switch.
    virtual void setSwitch(WebViewSwitch which, bool on) = 0;
    virtual void setUnderPageBackgroundColor(const Color& color) = 0;
    virtual void setAllowsMagnification(bool allows) = 0;
    virtual void setAllowsBackForwardNavigationGestures(bool allows) = 0;
};

// A view that shows web pages, made from a configuration it keeps for its life. It holds its navigation
// delegate weakly and its configuration's scheme handlers strongly; without a delegate every navigation is
// allowed. A request for a scheme it has no handler for fails. Main thread only. Made by create(...) since
// engine callbacks may outlive its owner's interest in it.
class WebView : public View, private WebViewEvents {
public:
    static std::shared_ptr<WebView> create(const Rect& frame, WebViewConfiguration configuration);
    ~WebView() override;

    const WebViewConfiguration& configuration() const { return configuration_; }

    // Starts loading the request (a request without a URL is ignored); see WebViewBackend::load for the timeout.
    void load(const URLRequest& request);
    void loadHTMLString(const std::string& html, const std::optional<std::string>& baseURL);
    void stopLoading();

    std::shared_ptr<NavigationDelegate> navigationDelegate() const { return delegate_.lock(); }
    void setNavigationDelegate(std::weak_ptr<NavigationDelegate> delegate) { delegate_ = std::move(delegate); }

    bool supports(WebViewSwitch which) const { return webBackend().supports(which); }
    // The switch's value; every switch starts on, and an unsupported one stays so.
    bool isOn(WebViewSwitch which) const;
    // Ignored for a switch the engine does not support.
    void setSwitch(WebViewSwitch which, bool on);

    // Shown where the page does not reach, for instance while scrolled past its edges. White at first.
    Color underPageBackgroundColor() const { return underPageBackground_; }
    void setUnderPageBackgroundColor(const Color& color);
    // Pinch and keyboard zoom; off at first.
    bool allowsMagnification() const { return allowsMagnification_; }
    void setAllowsMagnification(bool allows);
    // Swiping through the history; off at first.
    bool allowsBackForwardNavigationGestures() const { return allowsBackForwardGestures_; }
    void setAllowsBackForwardNavigationGestures(bool allows);

private:
    WebView(const Rect& frame, WebViewConfiguration configuration, std::unique_ptr<WebViewBackend> backend);
    WebViewBackend& webBackend() const;

    void navigationFinished() override;
    void decidePolicy(const NavigationAction& action,
                      std::function<void(NavigationActionPolicy)> decisionHandler) override;
    void webContentProcessTerminated() override;
    void startURLSchemeTask(std::shared_ptr<URLSchemeTask> task) override;
    void stopURLSchemeTask(std::shared_ptr<URLSchemeTask> task) override;
    std::shared_ptr<URLSchemeHandler> handlerFor(const URLSchemeTask& task) const;

    WebViewConfiguration configuration_;
    std::weak_ptr<NavigationDelegate> delegate_;
    bool occlusionDetection_ = true;
    bool drawsBackground_ = true;
    Color underPageBackground_ = Color::white(1);
    bool allowsMagnification_ = false;
    bool allowsBackForwardGestures_ = false;
};

} // namespace orrelith::platform
