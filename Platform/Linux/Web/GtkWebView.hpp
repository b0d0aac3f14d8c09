#pragma once

#include "Platform/Linux/Views/GtkViewBackend.hpp"
#include "Platform/Web/WebView.hpp"

#include <webkit/webkit.h>

namespace orrelith::platform {

// A web view on WebKitGTK: a WebKitWebView filling a view container. Set up from the configuration once:
// its network session, its user content manager (scripts and filters), its scheduling features, and
// incremental rendering. It refuses new windows, never shows WebKit's error pages, and only shows responses
// it can display (it never downloads). WebKitGTK has no occlusion-detection switch, and draws nothing past
// the page's edges, so the under-page colour is kept without being drawn. Main thread only.
class GtkWebView : public GtkViewBackendOf<WebViewBackend> {
public:
    explicit GtkWebView(const WebViewConfiguration& configuration);
    ~GtkWebView() override;

    // The backend of a WebKitWebView made here, or null.
    static GtkWebView* of(WebKitWebView* view);
    WebKitWebView* webView() const { return view_; }
    WebViewEvents* events() const { return events_; }

    void setEvents(WebViewEvents* events) override { events_ = events; }
    void load(const URLRequest& request) override;
    void loadHTMLString(const std::string& html, const std::optional<std::string>& baseURL) override;
    void stopLoading() override;
    bool supports(WebViewSwitch which) const override { return which == WebViewSwitch::DrawsBackground; }
    void setSwitch(WebViewSwitch which, bool on) override;
    void setUnderPageBackgroundColor(const Color& color) override;
    void setAllowsMagnification(bool allows) override;
    void setAllowsBackForwardNavigationGestures(bool allows) override;

    // The WebKit features that throttle a page that is hidden or not in the active window; the inactive
    // scheduling policy None turns each off that this WebKit has.
    static const std::vector<std::string>& throttlingFeatures();

private:
    void connectSignals();
    void startTimeout(double seconds);
    void cancelTimeout();
    static void loadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean loadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* uri, GError* error, gpointer self);
    static gboolean decidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                 gpointer self);
    static void processTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason, gpointer self);
    static GtkWidget* createWebView(WebKitWebView* view, WebKitNavigationAction* action, gpointer self);
    static gboolean timedOut(gpointer self);
    void applyBackground();

    WebKitWebView* view_;
    WebViewEvents* events_ = nullptr;
    // The GLib source guarding the current load's main resource; removed before this backend goes.
    guint timeout_ = 0;
    bool failed_ = false;
    bool drawsBackground_ = true;
    Color underPageBackground_ = Color::clear();
};

} // namespace orrelith::platform
