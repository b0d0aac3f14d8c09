#include "Platform/Linux/Update/ReleaseNotesView.hpp"

#include "Platform/Linux/Web/GtkContentRuleListStore.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/System.hpp"
#include "Platform/Web/WebEngine.hpp"

#include <cstring>

namespace orrelith::platform {

namespace {

// What load_html without a base address gives the document.
constexpr const char* documentAddress = "about:blank";

WebKitNavigationAction* actionOf(WebKitPolicyDecision* decision) {
    return webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
}

const char* requestedURI(WebKitNavigationAction* action) {
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const char* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
    return uri ? uri : "";
}

// Only a link the user clicked goes to the browser: a refresh or a redirect in the notes never does.
bool opensInBrowser(WebKitNavigationAction* action, const char* uri) {
    return webkit_navigation_action_get_navigation_type(action) == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED &&
           webkit_navigation_action_is_user_gesture(action) &&
           (g_str_has_prefix(uri, "https://") || g_str_has_prefix(uri, "http://"));
}

// Only the notes themselves are ever shown in the view.
gboolean decidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type, gpointer) {
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE)
        return FALSE;
    WebKitNavigationAction* action = actionOf(decision);
    const char* uri = requestedURI(action);
    if (type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION && std::strcmp(uri, documentAddress) == 0)
        return FALSE;
    if (opensInBrowser(action, uri))
        g_app_info_launch_default_for_uri_async(uri, nullptr, nullptr, nullptr, nullptr);
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

WebKitWebView* makeView(WebKitUserContentManager* manager) {
    WebKitSettings* settings = webkit_settings_new();
    webkit_settings_set_enable_javascript_markup(settings, FALSE);
    WebKitNetworkSession* session = webkit_network_session_new_ephemeral();
    auto* view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "settings", settings, "user-content-manager",
                                              manager, "network-session", session, nullptr));
    g_object_unref(session);
    g_object_unref(settings);
    g_signal_connect(view, "decide-policy", G_CALLBACK(decidePolicy), nullptr);
    return view;
}

} // namespace

std::shared_ptr<ReleaseNotesView> ReleaseNotesView::create() {
    return std::shared_ptr<ReleaseNotesView>(new ReleaseNotesView());
}

ReleaseNotesView::ReleaseNotesView() : manager_(webkit_user_content_manager_new()) {
    view_ = makeView(manager_);
    g_object_ref_sink(view_);
}

ReleaseNotesView::~ReleaseNotesView() {
    g_object_unref(view_);
    g_object_unref(manager_);
}

const std::string& ReleaseNotesView::blockingRules() {
    // Everything with an address is blocked; the notes arrive through load_html and are no load of their own.
    static const std::string json = R"([{"trigger":{"url-filter":".*"},"action":{"type":"block"}}])";
    return json;
}

void ReleaseNotesView::show(std::string html) {
    std::weak_ptr<ReleaseNotesView> weak = weak_from_this();
    web().defaultContentRuleListStore().compileContentRuleList(
        ruleListIdentifier, blockingRules(),
        [weak, html = std::move(html)](std::shared_ptr<ContentRuleList> list) {
            if (auto self = weak.lock())
                self->blocked(list, html);
        });
}

void ReleaseNotesView::blocked(const std::shared_ptr<ContentRuleList>& list, const std::string& html) {
    auto* compiled = dynamic_cast<const GtkContentRuleList*>(list.get());
    if (!compiled) {
        system().log("Quorvane: the release notes are not shown: their network block could not be compiled");
        return;
    }
    list_ = list;
    webkit_user_content_manager_add_filter(manager_, compiled->filter());
    webkit_web_view_load_html(view_, html.c_str(), nullptr);
}

} // namespace orrelith::platform
