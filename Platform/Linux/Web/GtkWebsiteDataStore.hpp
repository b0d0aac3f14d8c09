#pragma once

#include "Platform/Web/WebsiteDataStore.hpp"

#include <webkit/webkit.h>

namespace orrelith::platform {

// A WebKit network session: an ephemeral one keeps cookies, caches and storage in memory only, for the
// web views made with it. Main thread only.
class GtkWebsiteDataStore : public WebsiteDataStore {
public:
    // A new ephemeral session, shared with no other store.
    GtkWebsiteDataStore() : session_(webkit_network_session_new_ephemeral()) {}
    ~GtkWebsiteDataStore() override { g_object_unref(session_); }
    GtkWebsiteDataStore(const GtkWebsiteDataStore&) = delete;
    GtkWebsiteDataStore& operator=(const GtkWebsiteDataStore&) = delete;

    bool isPersistent() const override { return !webkit_network_session_is_ephemeral(session_); }
    WebKitNetworkSession* session() const { return session_; }

private:
    WebKitNetworkSession* session_;
};

} // namespace orrelith::platform
