#pragma once

#include "Platform/Web/URLRequest.hpp"

#include <functional>
#include <optional>
#include <string>

namespace orrelith::platform {

class WebView;

// What started a navigation. Loads started by the program, by a page's scripts or by its frames are Other.
enum class NavigationType { LinkActivated, FormSubmitted, BackForward, Reload, FormResubmitted, Other };

enum class NavigationActionPolicy { Cancel, Allow };

// One navigation a web view is about to make. A plain value.
struct NavigationAction {
    // The request's URL; nothing when the request has none.
    std::optional<std::string> url;
    NavigationType navigationType = NavigationType::Other;

    // The URL's scheme in lower case, or nothing when there is no URL or it does not start with one.
    std::optional<std::string> scheme() const { return url ? urlScheme(*url) : std::nullopt; }
    friend bool operator==(const NavigationAction&, const NavigationAction&) = default;
};

// Told about a web view's navigations. A web view holds its delegate weakly. Main thread only; no call is
// made synchronously inside a WebView call.
class NavigationDelegate {
public:
    virtual ~NavigationDelegate() = default;
    // The main frame finished loading a page (also a page answered with a 404). Not called for a navigation
    // that failed, was cancelled, stopped or timed out.
    virtual void didFinishNavigation(WebView& webView) = 0;
    // Asked once per navigation. Call `decisionHandler` exactly once, now or later; later calls are ignored,
    // and dropping it uncalled cancels the navigation.
    virtual void decidePolicyForNavigationAction(WebView& webView, const NavigationAction& action,
                                                 std::function<void(NavigationActionPolicy)> decisionHandler) = 0;
    // The process that ran the web view's page died; the view shows nothing until it loads again.
    virtual void webContentProcessDidTerminate(WebView& webView) = 0;
};

} // namespace orrelith::platform
