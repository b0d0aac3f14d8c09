#include "LoopbackServer.hpp"

#include "OnePixelPNG.hpp"

#include <libsoup/soup.h>

#include <stdexcept>

namespace orrelith::testing {

namespace {

struct Answer {
    unsigned status;
    const char* type;
    std::string body;
};

Answer answerFor(SoupServerMessage* message, const std::string& path) {
    if (soup_message_headers_header_contains(soup_server_message_get_request_headers(message), "Upgrade", "websocket"))
        return {SOUP_STATUS_BAD_REQUEST, "text/plain", "no sockets here"};
    if (path.ends_with(".png"))
        return {SOUP_STATUS_OK, "image/png", onePixelPNG};
    if (path.ends_with(".js"))
        return {SOUP_STATUS_OK, "text/javascript", "window.remoteScriptRan = true;"};
    if (path.ends_with(".css"))
        return {SOUP_STATUS_OK, "text/css", "body { margin-top: 3px; }"};
    return {SOUP_STATUS_OK, "text/plain", "reached"};
}

} // namespace

LoopbackServer::LoopbackServer() : server_(soup_server_new(nullptr, nullptr)) {
    auto handler = +[](SoupServer*, SoupServerMessage* message, const char* path, GHashTable*, gpointer data) {
        auto& self = *static_cast<LoopbackServer*>(data);
        ++self.counts_[path];
        auto served = self.served_.find(path);
        Answer answer = served == self.served_.end() ? answerFor(message, path)
                                                      : Answer{SOUP_STATUS_OK, "application/octet-stream", served->second};
        soup_message_headers_append(soup_server_message_get_response_headers(message), "Access-Control-Allow-Origin", "*");
        soup_server_message_set_status(message, answer.status, nullptr);
        soup_server_message_set_response(message, answer.type, SOUP_MEMORY_COPY, answer.body.data(), answer.body.size());
    };
    soup_server_add_handler(server_, nullptr, handler, this, nullptr);
    if (!soup_server_listen_local(server_, 0, SOUP_SERVER_LISTEN_IPV4_ONLY, nullptr))
        throw std::runtime_error("cannot listen on 127.0.0.1");
    GSList* uris = soup_server_get_uris(server_);
    port_ = g_uri_get_port(static_cast<GUri*>(uris->data));
    g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
}

LoopbackServer::~LoopbackServer() {
    soup_server_disconnect(server_);
    g_object_unref(server_);
}

int LoopbackServer::total() const {
    int sum = 0;
    for (const auto& [path, count] : counts_)
        sum += count;
    return sum;
}

} // namespace orrelith::testing
