#include "Platform/Fake/Web/FakeWebViewBackend.hpp"

#include <stdexcept>

namespace orrelith::platform {

FakeWebViewBackend::FakeWebViewBackend(std::shared_ptr<const FakeMainQueue> clock, bool supportsOcclusionDetection)
    : FakeViewBackendOf(std::move(clock)), supportsOcclusionDetection_(supportsOcclusionDetection) {}

FakeWebViewBackend::~FakeWebViewBackend() = default;

FakeWebViewBackend& FakeWebViewBackend::of(const WebView& view) {
    auto* fake = dynamic_cast<FakeWebViewBackend*>(&view.backend());
    if (!fake)
        throw std::logic_error("the web view was not made by the fake web engine");
    return *fake;
}

void FakeWebViewBackend::load(const URLRequest& request) {
    webState.loads.push_back({FakeWebLoad::Kind::Request, request, {}, {}});
    webState.loading = true;
}

void FakeWebViewBackend::loadHTMLString(const std::string& html, const std::optional<std::string>& baseURL) {
    webState.loads.push_back({FakeWebLoad::Kind::HTMLString, {}, html, baseURL});
    webState.loading = true;
}

void FakeWebViewBackend::stopLoading() {
    ++webState.stops;
    webState.loading = false;
}

bool FakeWebViewBackend::supports(WebViewSwitch which) const {
    return which == WebViewSwitch::DrawsBackground || supportsOcclusionDetection_;
}

void FakeWebViewBackend::setSwitch(WebViewSwitch which, bool on) {
    if (which == WebViewSwitch::DrawsBackground)
        webState.drawsBackground = on;
    else
        webState.occlusionDetection = on;
}

void FakeWebViewBackend::finishNavigation() {
    webState.loading = false;
    if (events_)
        events_->navigationFinished();
}

std::optional<NavigationActionPolicy> FakeWebViewBackend::decidePolicy(const NavigationAction& action) {
    if (!events_)
        return std::nullopt;
    auto answer = std::make_shared<std::optional<NavigationActionPolicy>>();
    std::weak_ptr<std::vector<NavigationActionPolicy>> log = decisions_;
    events_->decidePolicy(action, [log, answer](NavigationActionPolicy policy) {
        *answer = policy;
        if (auto decisions = log.lock())
            decisions->push_back(policy);
    });
    return *answer;
}

void FakeWebViewBackend::terminateWebContentProcess() {
    webState.loading = false;
    webState.webContentProcessTerminated = true;
    if (events_)
        events_->webContentProcessTerminated();
}

void FakeWebViewBackend::timeOut() { webState.loading = false; }

std::shared_ptr<FakeURLSchemeTask> FakeWebViewBackend::startSchemeTask(const std::string& url) {
    URLRequest request;
    request.url = url;
    auto task = std::make_shared<FakeURLSchemeTask>(request);
    if (events_)
        events_->startURLSchemeTask(task);
    return task;
}

void FakeWebViewBackend::stopSchemeTask(const std::shared_ptr<FakeURLSchemeTask>& task) {
    if (events_)
        events_->stopURLSchemeTask(task);
}

} // namespace orrelith::platform
