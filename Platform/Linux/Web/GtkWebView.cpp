#include "Platform/Linux/Web/GtkWebView.hpp"

#include "Platform/Linux/System/GlibSources.hpp"
#include "Platform/Linux/Views/PaintTrace.hpp"
#include "Platform/Linux/Web/GtkContentRuleListStore.hpp"
#include "Platform/Linux/Web/GtkWebsiteDataStore.hpp"

#include <algorithm>
#include <cmath>

namespace orrelith::platform {

namespace {

constexpr const char* backendKey = "orrelith-web-view";

void applyFeatures(WebKitSettings* settings, const WebViewConfiguration& configuration) {
    bool unthrottled = configuration.preferences.inactiveSchedulingPolicy == InactiveSchedulingPolicy::None;
    const auto& throttling = GtkWebView::throttlingFeatures();
    WebKitFeatureList* features = webkit_settings_get_all_features();
    for (gsize i = 0; i < webkit_feature_list_get_length(features); ++i) {
        WebKitFeature* feature = webkit_feature_list_get(features, i);
        std::string identifier = webkit_feature_get_identifier(feature);
        if (unthrottled && std::find(throttling.begin(), throttling.end(), identifier) != throttling.end())
            webkit_settings_set_feature_enabled(settings, feature, FALSE);
        if (identifier == "SuppressesIncrementalRendering")
            webkit_settings_set_feature_enabled(settings, feature, configuration.suppressesIncrementalRendering);
    }
    webkit_feature_list_unref(features);
}

WebKitUserContentManager* makeContentManager(const UserContentController& controller) {
    WebKitUserContentManager* manager = webkit_user_content_manager_new();
    for (const auto& script : controller.userScripts()) {
        auto frames = script.frames == UserScriptFrames::MainFrameOnly ? WEBKIT_USER_CONTENT_INJECT_TOP_FRAME
                                                                        : WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES;
        auto time = script.injectionTime == UserScriptInjectionTime::AtDocumentStart
                        ? WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START
                        : WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_END;
        WebKitUserScript* user = webkit_user_script_new(script.source.c_str(), frames, time, nullptr, nullptr);
        webkit_user_content_manager_add_script(manager, user);
        webkit_user_script_unref(user);
    }
    for (const auto& list : controller.contentRuleLists())
        if (auto* compiled = dynamic_cast<const GtkContentRuleList*>(list.get()))
            webkit_user_content_manager_add_filter(manager, compiled->filter());
    return manager;
}

GtkWidget* makeWebKitView(const WebViewConfiguration& configuration) {
    WebKitSettings* settings = webkit_settings_new();
    applyFeatures(settings, configuration);
    WebKitUserContentManager* manager = makeContentManager(configuration.userContentController);
    auto* store = dynamic_cast<const GtkWebsiteDataStore*>(configuration.websiteDataStore.get());
    GtkWidget* view = store ? GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "settings", settings,
                                                      "user-content-manager", manager, "network-session",
                                                      store->session(), nullptr))
                            : GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "settings", settings,
                                                      "user-content-manager", manager, nullptr));
    g_object_unref(manager);
    g_object_unref(settings);
    return view;
}

NavigationType navigationType(WebKitNavigationType type) {
    switch (type) {
    case WEBKIT_NAVIGATION_TYPE_LINK_CLICKED: return NavigationType::LinkActivated;
    case WEBKIT_NAVIGATION_TYPE_FORM_SUBMITTED: return NavigationType::FormSubmitted;
    case WEBKIT_NAVIGATION_TYPE_BACK_FORWARD: return NavigationType::BackForward;
    case WEBKIT_NAVIGATION_TYPE_RELOAD: return NavigationType::Reload;
    case WEBKIT_NAVIGATION_TYPE_FORM_RESUBMITTED: return NavigationType::FormResubmitted;
    case WEBKIT_NAVIGATION_TYPE_OTHER: return NavigationType::Other;
    }
    return NavigationType::Other;
}

NavigationAction navigationAction(WebKitPolicyDecision* decision) {
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    NavigationAction result;
    result.navigationType = navigationType(webkit_navigation_action_get_navigation_type(action));
    if (WebKitURIRequest* request = webkit_navigation_action_get_request(action))
        if (const char* uri = webkit_uri_request_get_uri(request); uri && *uri)
            result.url = uri;
    return result;
}

// Holds the decision until it is answered, whenever that is.
struct DecisionReference {
    explicit DecisionReference(WebKitPolicyDecision* decision)
        : decision(WEBKIT_POLICY_DECISION(g_object_ref(decision))) {}
    ~DecisionReference() { g_object_unref(decision); }
    DecisionReference(const DecisionReference&) = delete;
    DecisionReference& operator=(const DecisionReference&) = delete;
    WebKitPolicyDecision* decision;
};

} // namespace

const std::vector<std::string>& GtkWebView::throttlingFeatures() {
    static const std::vector<std::string> features = {"HiddenPageDOMTimerThrottling", "DOMTimersThrottling",
                                                      "HiddenPageCSSAnimationSuspension",
                                                      "PageVisibilityBasedProcessSuppression"};
    return features;
}

GtkWebView::GtkWebView(const WebViewConfiguration& configuration)
    : GtkViewBackendOf(makeWebKitView(configuration)) {
    view_ = WEBKIT_WEB_VIEW(gtk_widget_get_first_child(widget()));
    g_object_set_data(G_OBJECT(view_), backendKey, this);
    connectSignals();
}

GtkWebView::~GtkWebView() {
    cancelTimeout();
    g_signal_handlers_disconnect_by_data(view_, this);
    g_object_set_data(G_OBJECT(view_), backendKey, nullptr);
}

GtkWebView* GtkWebView::of(WebKitWebView* view) {
    return view ? static_cast<GtkWebView*>(g_object_get_data(G_OBJECT(view), backendKey)) : nullptr;
}

// The handlers get this backend as their data; the destructor disconnects them all before it goes.
void GtkWebView::connectSignals() {
    g_signal_connect(view_, "load-changed", G_CALLBACK(loadChanged), this);
    g_signal_connect(view_, "load-failed", G_CALLBACK(loadFailed), this);
    g_signal_connect(view_, "decide-policy", G_CALLBACK(decidePolicy), this);
    g_signal_connect(view_, "web-process-terminated", G_CALLBACK(processTerminated), this);
    g_signal_connect(view_, "create", G_CALLBACK(createWebView), this);
}

void GtkWebView::load(const URLRequest& request) {
    cancelTimeout();
    if (!request.url)
        return;
    webkit_web_view_load_uri(view_, request.url->c_str());
    if (request.timeoutInterval > 0)
        startTimeout(request.timeoutInterval);
}

void GtkWebView::loadHTMLString(const std::string& html, const std::optional<std::string>& baseURL) {
    cancelTimeout();
    webkit_web_view_load_html(view_, html.c_str(), baseURL ? baseURL->c_str() : nullptr);
}

void GtkWebView::stopLoading() {
    cancelTimeout();
    webkit_web_view_stop_loading(view_);
}

void GtkWebView::setSwitch(WebViewSwitch which, bool on) {
    if (which != WebViewSwitch::DrawsBackground)
        return;
    drawsBackground_ = on;
    applyBackground();
}

void GtkWebView::setUnderPageBackgroundColor(const Color& color) {
    underPageBackground_ = color;
    applyBackground();
}

// A page that draws no background shows what lies under the page. When that is an opaque colour, the web
// process paints it under the page: a transparent page's every frame costs the software compositor a
// tenth more to blend.
void GtkWebView::applyBackground() {
    GdkRGBA background{1, 1, 1, 1};
    if (!drawsBackground_)
        background = underPageBackground_.alpha >= 1 ? toRGBA(underPageBackground_) : GdkRGBA{0, 0, 0, 0};
    webkit_web_view_set_background_color(view_, &background);
}

// Pinch zoom is WebKit's GtkGestureZoom on the view; ctrl+wheel and keys do not zoom by default.
void GtkWebView::setAllowsMagnification(bool allows) {
    GListModel* controllers = gtk_widget_observe_controllers(GTK_WIDGET(view_));
    for (guint i = 0; i < g_list_model_get_n_items(controllers); ++i) {
        auto* controller = static_cast<GtkEventController*>(g_list_model_get_item(controllers, i));
        if (GTK_IS_GESTURE_ZOOM(controller))
            gtk_event_controller_set_propagation_phase(controller, allows ? GTK_PHASE_BUBBLE : GTK_PHASE_NONE);
        g_object_unref(controller);
    }
    g_object_unref(controllers);
}

void GtkWebView::setAllowsBackForwardNavigationGestures(bool allows) {
    webkit_settings_set_enable_back_forward_navigation_gestures(webkit_web_view_get_settings(view_), allows);
}

void GtkWebView::startTimeout(double seconds) {
    auto milliseconds = static_cast<guint>(std::min(std::ceil(seconds * 1000), 4e9));
    timeout_ = g_timeout_add(milliseconds, timedOut, this);
}

void GtkWebView::cancelTimeout() {
    if (timeout_ != 0)
        g_source_remove(timeout_);
    timeout_ = 0;
}

gboolean GtkWebView::timedOut(gpointer data) {
    auto* self = static_cast<GtkWebView*>(data);
    self->timeout_ = 0;
    webkit_web_view_stop_loading(self->view_);
    return G_SOURCE_REMOVE;
}

void GtkWebView::loadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
    auto* self = static_cast<GtkWebView*>(data);
    if (event == WEBKIT_LOAD_STARTED)
        self->failed_ = false;
    if (event == WEBKIT_LOAD_COMMITTED || event == WEBKIT_LOAD_FINISHED)
        self->cancelTimeout();
    // WebKit also reports a failed load as finished, after load-failed.
    if (event == WEBKIT_LOAD_FINISHED && !self->failed_)
        PaintTrace::pageLoaded(self->view_);
    if (event == WEBKIT_LOAD_FINISHED && !self->failed_ && self->events_)
        glib::runGuarded([self] { self->events_->navigationFinished(); }, "navigation finished");
}

gboolean GtkWebView::loadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError*, gpointer data) {
    auto* self = static_cast<GtkWebView*>(data);
    self->failed_ = true;
    self->cancelTimeout();
    return TRUE; // no error page: a failed scene stays as it was
}

gboolean GtkWebView::decidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                  gpointer data) {
    auto* self = static_cast<GtkWebView*>(data);
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
        if (webkit_response_policy_decision_is_mime_type_supported(WEBKIT_RESPONSE_POLICY_DECISION(decision)))
            webkit_policy_decision_use(decision);
        else
            webkit_policy_decision_ignore(decision);
        return TRUE;
    }
    if (!self->events_)
        return FALSE;
    auto held = std::make_shared<DecisionReference>(decision);
    auto answer = [held](NavigationActionPolicy policy) {
        if (policy == NavigationActionPolicy::Allow)
            webkit_policy_decision_use(held->decision);
        else
            webkit_policy_decision_ignore(held->decision);
    };
    glib::runGuarded([&] { self->events_->decidePolicy(navigationAction(decision), answer); }, "navigation policy");
    return TRUE;
}

void GtkWebView::processTerminated(WebKitWebView*, WebKitWebProcessTerminationReason, gpointer data) {
    auto* self = static_cast<GtkWebView*>(data);
    self->cancelTimeout();
    if (self->events_)
        glib::runGuarded([self] { self->events_->webContentProcessTerminated(); }, "web process terminated");
}

GtkWidget* GtkWebView::createWebView(WebKitWebView*, WebKitNavigationAction*, gpointer) { return nullptr; }

} // namespace orrelith::platform
