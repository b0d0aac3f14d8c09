#include "Platform/Web/WebView.hpp"

#include "Platform/Platform.hpp"
#include "Platform/Web/WebEngine.hpp"

namespace orrelith::platform {

namespace {

// Calls the engine's handler once: the first answer wins, and a handler dropped unanswered cancels, so a
// navigation never hangs on a delegate that forgot to decide.
class DecisionOnce {
public:
    explicit DecisionOnce(std::function<void(NavigationActionPolicy)> handler) : handler_(std::move(handler)) {}
    ~DecisionOnce() { decide(NavigationActionPolicy::Cancel); }
    DecisionOnce(const DecisionOnce&) = delete;
    DecisionOnce& operator=(const DecisionOnce&) = delete;

    void decide(NavigationActionPolicy policy) {
        if (!handler_)
            return;
        auto handler = std::move(handler_);
        handler_ = nullptr;
        handler(policy);
    }

private:
    std::function<void(NavigationActionPolicy)> handler_;
};

} // namespace

std::shared_ptr<WebView> WebView::create(const Rect& frame, WebViewConfiguration configuration) {
    auto backend = web().makeWebViewBackend(configuration);
    return std::shared_ptr<WebView>(new WebView(frame, std::move(configuration), std::move(backend)));
}

WebView::WebView(const Rect& frame, WebViewConfiguration configuration, std::unique_ptr<WebViewBackend> backend)
    : View(frame, std::move(backend)), configuration_(std::move(configuration)) {
    auto& engineSide = webBackend();
    engineSide.setEvents(this);
    for (auto which : {WebViewSwitch::WindowOcclusionDetection, WebViewSwitch::DrawsBackground})
        if (engineSide.supports(which))
            engineSide.setSwitch(which, true);
    engineSide.setUnderPageBackgroundColor(underPageBackground_);
    engineSide.setAllowsMagnification(allowsMagnification_);
    engineSide.setAllowsBackForwardNavigationGestures(allowsBackForwardGestures_);
}

WebView::~WebView() { webBackend().setEvents(nullptr); }

WebViewBackend& WebView::webBackend() const { return static_cast<WebViewBackend&>(backend()); }

void WebView::load(const URLRequest& request) {
    if (request.url)
        webBackend().load(request);
}

void WebView::loadHTMLString(const std::string& html, const std::optional<std::string>& baseURL) {
    webBackend().loadHTMLString(html, baseURL);
}

void WebView::stopLoading() { webBackend().stopLoading(); }

bool WebView::isOn(WebViewSwitch which) const {
    return which == WebViewSwitch::DrawsBackground ? drawsBackground_ : occlusionDetection_;
}

void WebView::setSwitch(WebViewSwitch which, bool on) {
    if (!supports(which))
        return;
    (which == WebViewSwitch::DrawsBackground ? drawsBackground_ : occlusionDetection_) = on;
    webBackend().setSwitch(which, on);
}

void WebView::setUnderPageBackgroundColor(const Color& color) {
    underPageBackground_ = color;
    webBackend().setUnderPageBackgroundColor(color);
}

void WebView::setAllowsMagnification(bool allows) {
    allowsMagnification_ = allows;
    webBackend().setAllowsMagnification(allows);
}

void WebView::setAllowsBackForwardNavigationGestures(bool allows) {
    allowsBackForwardGestures_ = allows;
    webBackend().setAllowsBackForwardNavigationGestures(allows);
}

// Each event keeps this view alive while the delegate runs: a delegate may drop its last reference.
void WebView::navigationFinished() {
    auto keep = weak_from_this().lock();
    if (auto delegate = delegate_.lock())
        delegate->didFinishNavigation(*this);
}

void WebView::decidePolicy(const NavigationAction& action,
                           std::function<void(NavigationActionPolicy)> decisionHandler) {
    auto keep = weak_from_this().lock();
    auto once = std::make_shared<DecisionOnce>(std::move(decisionHandler));
    auto delegate = delegate_.lock();
    if (!delegate) {
        once->decide(NavigationActionPolicy::Allow);
        return;
    }
    delegate->decidePolicyForNavigationAction(*this, action,
                                              [once](NavigationActionPolicy policy) { once->decide(policy); });
}

void WebView::webContentProcessTerminated() {
    auto keep = weak_from_this().lock();
    if (auto delegate = delegate_.lock())
        delegate->webContentProcessDidTerminate(*this);
}

std::shared_ptr<URLSchemeHandler> WebView::handlerFor(const URLSchemeTask& task) const {
    const auto& url = task.request().url;
    auto scheme = url ? urlScheme(*url) : std::nullopt;
    return scheme ? configuration_.urlSchemeHandler(*scheme) : nullptr;
}

void WebView::startURLSchemeTask(std::shared_ptr<URLSchemeTask> task) {
    auto keep = weak_from_this().lock();
    if (auto handler = handlerFor(*task))
        handler->startURLSchemeTask(*this, std::move(task));
    else
        task->didFailWithError("no handler for the URL's scheme");
}

void WebView::stopURLSchemeTask(std::shared_ptr<URLSchemeTask> task) {
    auto keep = weak_from_this().lock();
    if (auto handler = handlerFor(*task))
        handler->stopURLSchemeTask(*this, std::move(task));
}

} // namespace orrelith::platform
