#pragma once

#include "Platform/Web/URLRequest.hpp"

#include <memory>
#include <string>

namespace orrelith::platform {

class WebView;

// One request of a web view for a URL with a scheme that a handler serves. Answer it with a response, then
// the body in any number of pieces, then didFinish; or with didFailWithError. Calls after the task was
// answered or failed are ignored, and so is a task the engine has stopped meanwhile. The engine keeps a
// task alive for as long as someone holds it. Main thread only.
class URLSchemeTask {
public:
    virtual ~URLSchemeTask() = default;
    virtual const URLRequest& request() const = 0;
    virtual void didReceiveResponse(const HTTPURLResponse& response) = 0;
    virtual void didReceiveData(std::string data) = 0;
    virtual void didFinish() = 0;
    virtual void didFailWithError(const std::string& message) = 0;
};

// Serves the requests of web views for one scheme, registered on a WebViewConfiguration. The web view holds
// its handlers strongly. Main thread only; calls come from the engine, never synchronously inside a load call.
class URLSchemeHandler {
public:
    virtual ~URLSchemeHandler() = default;
    // A request has started; the handler may answer it at once or later.
    virtual void startURLSchemeTask(WebView& webView, std::shared_ptr<URLSchemeTask> task) = 0;
    // The engine no longer wants the answer. Engines that cannot tell (WebKitGTK) never call this, so a
    // handler must not depend on it to release anything.
    virtual void stopURLSchemeTask(WebView& webView, std::shared_ptr<URLSchemeTask> task) = 0;
};

} // namespace orrelith::platform
