#pragma once

#include "Platform/Web/URLSchemeHandler.hpp"

#include <webkit/webkit.h>

namespace orrelith::platform {

// One WebKit URI scheme request. The response and the body are collected and handed to WebKit in one
// piece at didFinish, always with a content type: WebKit fails the load of a response without one. Main
// thread only.
class GtkURLSchemeTask : public URLSchemeTask {
public:
    // Takes a reference to `request`.
    explicit GtkURLSchemeTask(WebKitURISchemeRequest* request);
    ~GtkURLSchemeTask() override;
    GtkURLSchemeTask(const GtkURLSchemeTask&) = delete;
    GtkURLSchemeTask& operator=(const GtkURLSchemeTask&) = delete;

    const URLRequest& request() const override { return request_; }
    void didReceiveResponse(const HTTPURLResponse& response) override;
    void didReceiveData(std::string data) override;
    void didFinish() override;
    void didFailWithError(const std::string& message) override;

    // What a response without a Content-Type field is sent as.
    static constexpr const char* fallbackContentType = "text/plain";

private:
    WebKitURISchemeRequest* webkitRequest_;
    URLRequest request_;
    HTTPURLResponse response_;
    std::string body_;
    bool ended_ = false;
};

} // namespace orrelith::platform
