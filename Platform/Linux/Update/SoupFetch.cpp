#include "Platform/Linux/Update/SoupFetch.hpp"

#include <libsoup/soup.h>

#include <cstring>

namespace orrelith::platform {

namespace {

// What pending soup callbacks hold: the fetcher weakly, and which of its fetches they belong to.
struct Weak {
    std::weak_ptr<SoupFetch> fetch;
    unsigned generation;
};

std::string errorText(GError* error, const char* fallback) {
    std::string text = error && error->message ? error->message : fallback;
    g_clear_error(&error);
    return text;
}

} // namespace

SoupFetch::SoupFetch() : session_(soup_session_new_with_options("timeout", 60u, "idle-timeout", 60u, nullptr)) {}

SoupFetch::~SoupFetch() {
    if (cancellable_)
        g_cancellable_cancel(cancellable_);
    g_clear_object(&stream_);
    g_clear_object(&message_);
    g_clear_object(&cancellable_);
    g_clear_object(&session_);
}

std::shared_ptr<SoupFetch> SoupFetch::create() { return std::shared_ptr<SoupFetch>(new SoupFetch()); }

bool SoupFetch::allowed(const std::string& url) {
    GUri* uri = g_uri_parse(url.c_str(), G_URI_FLAGS_NONE, nullptr);
    if (!uri)
        return false;
    std::string scheme = g_uri_get_scheme(uri) ? g_uri_get_scheme(uri) : "";
    std::string host = g_uri_get_host(uri) ? g_uri_get_host(uri) : "";
    g_uri_unref(uri);
    if (scheme == "https")
        return !host.empty();
    GInetAddress* address = scheme == "http" ? g_inet_address_new_from_string(host.c_str()) : nullptr;
    bool loopback = address && g_inet_address_get_is_loopback(address);
    g_clear_object(&address);
    return loopback;
}

void SoupFetch::fetch(const std::string& url, std::uint64_t limit, std::uint64_t expected, Progress progress, Done done) {
    cancel();
    ++generation_;
    limit_ = limit, expected_ = expected, progress_ = std::move(progress), done_ = std::move(done);
    bytes_.clear();
    message_ = allowed(url) ? soup_message_new("GET", url.c_str()) : nullptr;
    if (!message_) {
        auto* weak = new Weak{weak_from_this(), generation_};
        g_idle_add_once([](gpointer data) {
            std::unique_ptr<Weak> weak(static_cast<Weak*>(data));
            if (auto self = SoupFetch::current(weak->fetch, weak->generation))
                self->finish({{}, "Updates are only fetched over HTTPS."});
        }, weak);
        return;
    }
    g_signal_connect(message_, "restarted", G_CALLBACK(+[](SoupMessage* message, gpointer cancellable) {
        char* target = g_uri_to_string(soup_message_get_uri(message));
        if (!SoupFetch::allowed(target))
            g_cancellable_cancel(G_CANCELLABLE(cancellable));
        g_free(target);
    }), cancellable_ = g_cancellable_new());
    soup_session_send_async(session_, message_, G_PRIORITY_DEFAULT, cancellable_, [](GObject* source, GAsyncResult* result, gpointer data) {
        std::unique_ptr<Weak> weak(static_cast<Weak*>(data));
        GError* error = nullptr;
        GInputStream* stream = soup_session_send_finish(SOUP_SESSION(source), result, &error);
        auto self = SoupFetch::current(weak->fetch, weak->generation);
        if (!self) {
            g_clear_object(&stream);
            g_clear_error(&error);
            return;
        }
        self->received(nullptr, stream, stream ? "" : errorText(error, "The server could not be reached."));
    }, new Weak{weak_from_this(), generation_});
}

void SoupFetch::received(SoupMessage*, GInputStream* stream, const std::string& error) {
    if (!stream)
        return finish({{}, error});
    stream_ = stream;
    auto status = soup_message_get_status(message_);
    if (status != SOUP_STATUS_OK)
        return finish({{}, "The server answered " + std::to_string(status) + "."});
    readMore();
}

void SoupFetch::readMore() {
    g_input_stream_read_bytes_async(stream_, 65536, G_PRIORITY_DEFAULT, cancellable_, [](GObject* source, GAsyncResult* result, gpointer data) {
        std::unique_ptr<Weak> weak(static_cast<Weak*>(data));
        GError* error = nullptr;
        GBytes* chunk = g_input_stream_read_bytes_finish(G_INPUT_STREAM(source), result, &error);
        auto self = SoupFetch::current(weak->fetch, weak->generation);
        if (!self || !chunk) {
            if (self)
                self->finish({{}, errorText(error, "The download broke off.")});
            else
                g_clear_error(&error);
            return;
        }
        gsize size = 0;
        auto* bytes = static_cast<const char*>(g_bytes_get_data(chunk, &size));
        self->bytes_.append(bytes ? bytes : "", size);
        g_bytes_unref(chunk);
        if (size == 0)
            return self->finish({std::move(self->bytes_), ""});
        if (self->bytes_.size() > self->limit_)
            return self->finish({{}, "The download is larger than announced."});
        if (self->progress_)
            self->progress_(self->bytes_.size(), self->expected_);
        self->readMore();
    }, new Weak{weak_from_this(), generation_});
}

void SoupFetch::finish(Result result) {
    auto done = std::move(done_);
    done_ = nullptr;
    g_clear_object(&stream_);
    g_clear_object(&message_);
    g_clear_object(&cancellable_);
    if (done)
        done(std::move(result));
}

std::shared_ptr<SoupFetch> SoupFetch::current(const std::weak_ptr<SoupFetch>& weak, unsigned generation) {
    auto self = weak.lock();
    return self && self->generation_ == generation ? self : nullptr;
}

void SoupFetch::cancel() {
    ++generation_;
    done_ = nullptr;
    if (cancellable_)
        g_cancellable_cancel(cancellable_);
    g_clear_object(&stream_);
    g_clear_object(&message_);
    g_clear_object(&cancellable_);
}

} // namespace orrelith::platform
