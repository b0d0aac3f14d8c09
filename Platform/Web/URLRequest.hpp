#pragma once

#include <map>
#include <optional>
#include <string>

namespace orrelith::platform {

// The engines here offer one policy: the protocol's own (for the scheme handler: ask it every time).
enum class URLRequestCachePolicy { UseProtocolCachePolicy };

// A request to load a URL. A plain value.
struct URLRequest {
    std::optional<std::string> url;
    URLRequestCachePolicy cachePolicy = URLRequestCachePolicy::UseProtocolCachePolicy;
    // Seconds the load may wait for its main resource before the engine gives it up; 0 or less: no limit.
    double timeoutInterval = 60;

    friend bool operator==(const URLRequest&, const URLRequest&) = default;
};

// An HTTP-style response handed to a URL-scheme task. A plain value.
struct HTTPURLResponse {
    std::string url;
    int statusCode = 200;
    std::string httpVersion = "HTTP/1.1";
    std::map<std::string, std::string> headerFields;

    friend bool operator==(const HTTPURLResponse&, const HTTPURLResponse&) = default;
};

// The scheme of `url` in lower case, or nothing when it does not start with one ("name:").
inline std::optional<std::string> urlScheme(const std::string& url) {
    auto isAlpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (url.empty() || !isAlpha(url[0]))
        return std::nullopt;
    std::string scheme;
    for (char c : url) {
        if (c == ':')
            return scheme;
        if (!isAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return std::nullopt;
        scheme.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return std::nullopt;
}

} // namespace orrelith::platform
