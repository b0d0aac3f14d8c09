#include "Platform/Linux/Web/GtkURLSchemeTask.hpp"

#include <strings.h>

namespace orrelith::platform {

namespace {

std::string contentTypeOf(const HTTPURLResponse& response) {
    for (const auto& [name, value] : response.headerFields)
        if (strcasecmp(name.c_str(), "Content-Type") == 0 && !value.empty())
            return value;
    return GtkURLSchemeTask::fallbackContentType;
}

// WebKit takes the content type as a MIME type; parameters such as the charset travel in the header.
std::string mimeTypeOf(const std::string& contentType) {
    auto end = contentType.find(';');
    std::string mime = contentType.substr(0, end);
    while (!mime.empty() && mime.back() == ' ')
        mime.pop_back();
    return mime;
}

SoupMessageHeaders* headersOf(const HTTPURLResponse& response, const std::string& contentType) {
    SoupMessageHeaders* headers = soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE);
    for (const auto& [name, value] : response.headerFields)
        soup_message_headers_replace(headers, name.c_str(), value.c_str());
    soup_message_headers_replace(headers, "Content-Type", contentType.c_str());
    return headers;
}

} // namespace

GtkURLSchemeTask::GtkURLSchemeTask(WebKitURISchemeRequest* request)
    : webkitRequest_(WEBKIT_URI_SCHEME_REQUEST(g_object_ref(request))) {
    if (const char* uri = webkit_uri_scheme_request_get_uri(request))
        request_.url = uri;
    response_.url = request_.url.value_or("");
}

GtkURLSchemeTask::~GtkURLSchemeTask() { g_object_unref(webkitRequest_); }

void GtkURLSchemeTask::didReceiveResponse(const HTTPURLResponse& response) {
    if (!ended_)
        response_ = response;
}

void GtkURLSchemeTask::didReceiveData(std::string data) {
    if (!ended_)
        body_ += data;
}

void GtkURLSchemeTask::didFinish() {
    if (ended_)
        return;
    ended_ = true;
    std::string contentType = contentTypeOf(response_);
    auto size = static_cast<gint64>(body_.size());
    GBytes* bytes = g_bytes_new(body_.data(), body_.size());
    GInputStream* stream = g_memory_input_stream_new_from_bytes(bytes);
    WebKitURISchemeResponse* answer = webkit_uri_scheme_response_new(stream, size);
    webkit_uri_scheme_response_set_status(answer, static_cast<guint>(response_.statusCode), nullptr);
    webkit_uri_scheme_response_set_content_type(answer, mimeTypeOf(contentType).c_str());
    webkit_uri_scheme_response_set_http_headers(answer, headersOf(response_, contentType));
    webkit_uri_scheme_request_finish_with_response(webkitRequest_, answer);
    g_object_unref(answer);
    g_object_unref(stream);
    g_bytes_unref(bytes);
    body_.clear();
}

void GtkURLSchemeTask::didFailWithError(const std::string& message) {
    if (ended_)
        return;
    ended_ = true;
    GError* error = g_error_new_literal(G_IO_ERROR, G_IO_ERROR_FAILED, message.c_str());
    webkit_uri_scheme_request_finish_error(webkitRequest_, error);
    g_error_free(error);
}

} // namespace orrelith::platform
