#include "Saver/BundleSchemeHandler.hpp"

#include "Platform/System/System.hpp"
#include "Platform/Platform.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace orrelith {

namespace fs = std::filesystem;

namespace {

bool isSchemeCharacter(char c, bool first) {
    bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return alpha || (!first && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
}

// The still-encoded path of a URL: after the scheme and the authority, before the query and fragment.
std::string_view urlPath(std::string_view url) {
    std::size_t schemeEnd = 0;
    while (schemeEnd < url.size() && isSchemeCharacter(url[schemeEnd], schemeEnd == 0))
        ++schemeEnd;
    if (schemeEnd > 0 && schemeEnd < url.size() && url[schemeEnd] == ':')
        url.remove_prefix(schemeEnd + 1);
    if (url.starts_with("//")) {
        auto authorityEnd = url.find_first_of("/?#", 2);
        url.remove_prefix(authorityEnd == std::string_view::npos ? url.size() : authorityEnd);
    }
    return url.substr(0, url.find_first_of("?#"));
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Length of the well-formed UTF-8 sequence at `at`, or 0: no overlong forms, surrogates or values past U+10FFFF.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    unsigned char second = byte(at + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

bool isValidUTF8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        auto length = utf8SequenceLength(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

// The file the request names, relative to the content root; nothing when it must not reach the file system.
std::optional<std::string> requestedFile(std::string_view requestURL) {
    auto encoded = urlPath(requestURL);
    std::string path = BundleSchemeHandler::percentDecoded(encoded).value_or(std::string(encoded));
    if (path.find('\0') != std::string::npos)
        return std::nullopt;
    if (path.empty() || path == "/")
        path = "/index.html";
    if (path.front() == '/')
        path.erase(0, 1);
    return path;
}

bool isStrictlyBelow(const fs::path& file, const fs::path& root) {
    std::string prefix = root.string();
    if (prefix.empty() || prefix.back() != '/')
        prefix.push_back('/');
    const std::string& name = file.string();
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0;
}

struct ConfinedFile {
    fs::path standard; // as named, dot segments resolved: its extension gives the content type
    fs::path real;     // every symbolic link resolved: this is what is read
};

// The file below `root`, resolved lexically and then through symbolic links; nothing when either escapes.
std::optional<ConfinedFile> confinedFile(const fs::path& root, const std::string& relative) {
    // Joined as text: path::operator/ would let an absolute `relative` replace the root.
    fs::path standardRoot = fs::path(root.string() + "/").lexically_normal();
    fs::path file = fs::path(standardRoot.string() + relative).lexically_normal();
    if (!isStrictlyBelow(file, standardRoot))
        return std::nullopt;
    std::error_code error;
    fs::path realRoot = fs::canonical(standardRoot, error);
    if (error)
        return std::nullopt;
    fs::path realFile = fs::canonical(file, error);
    if (error || !isStrictlyBelow(realFile, realRoot))
        return std::nullopt;
    return ConfinedFile{file, realFile};
}

std::optional<std::string> readAll(int descriptor, std::size_t expectedSize) {
    std::string content;
    content.reserve(expectedSize);
    char buffer[65536];
    for (;;) {
        ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count == 0)
            return content;
        if (count > 0)
            content.append(buffer, static_cast<std::size_t>(count));
        else if (errno != EINTR)
            return std::nullopt;
    }
}

// The whole content of a regular file; nothing for anything else or on any failure. O_NOFOLLOW and
// O_NONBLOCK: a link put in place since the check is not followed, and opening a pipe does not wait.
std::optional<std::string> readRegularFile(const fs::path& file) {
    int descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (descriptor < 0)
        return std::nullopt;
    struct stat status {};
    std::optional<std::string> content;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode))
        content = readAll(descriptor, static_cast<std::size_t>(status.st_size));
    ::close(descriptor);
    return content;
}

BundleSchemeHandler::Response notFound() { return {}; }

BundleSchemeHandler::Response served(const fs::path& file, std::string body) {
    std::string extension = file.extension().string();
    if (!extension.empty())
        extension.erase(0, 1);
    BundleSchemeHandler::Response response;
    response.statusCode = 200;
    response.headerFields = {
        {"Content-Type", BundleSchemeHandler::mimeType(extension)},
        {"Content-Length", std::to_string(body.size())},
        {"Access-Control-Allow-Origin", "*"},
        {"Cache-Control", "no-cache"},
    };
    response.body = std::move(body);
    return response;
}

// Any address inside this code: the bundle that holds it is the one whose files are served.
void codeAnchor() {}

} // namespace

std::shared_ptr<BundleSchemeHandler> BundleSchemeHandler::shared() {
    static auto* instance = new std::shared_ptr<BundleSchemeHandler>(new BundleSchemeHandler());
    return *instance;
}

std::string BundleSchemeHandler::mimeType(std::string_view extension) {
    static const std::map<std::string, std::string, std::less<>> types = {
        {"html", "text/html; charset=utf-8"}, {"htm", "text/html; charset=utf-8"},
        {"js", "text/javascript; charset=utf-8"}, {"mjs", "text/javascript; charset=utf-8"},
        {"css", "text/css; charset=utf-8"}, {"json", "application/json"},
        {"svg", "image/svg+xml"}, {"png", "image/png"},
        {"jpg", "image/jpeg"}, {"jpeg", "image/jpeg"},
        {"webp", "image/webp"}, {"woff2", "font/woff2"},
        {"woff", "font/woff"}, {"ttf", "font/ttf"},
        {"otf", "font/otf"},
    };
    std::string lower(extension);
    for (auto& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    auto found = types.find(lower);
    return found == types.end() ? "application/octet-stream" : found->second;
}

BundleSchemeHandler::Response BundleSchemeHandler::response(std::string_view requestURL,
                                                            const fs::path& contentRoot) {
    auto relative = requestedFile(requestURL);
    if (!relative)
        return notFound();
    auto file = confinedFile(contentRoot, *relative);
    if (!file)
        return notFound();
    auto body = readRegularFile(file->real);
    if (!body)
        return notFound();
    return served(file->standard, std::move(*body));
}

std::optional<std::string> BundleSchemeHandler::percentDecoded(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        int high = hexValue(text[i + 1]);
        int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        decoded.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    if (!isValidUTF8(decoded))
        return std::nullopt;
    return decoded;
}

std::optional<fs::path> BundleSchemeHandler::resourceFolder() {
    auto bundle = platform::system().bundleContaining(reinterpret_cast<const void*>(&codeAnchor));
    if (!bundle)
        return std::nullopt;
    return bundle->resourcePath;
}

std::optional<fs::path> BundleSchemeHandler::contentRoot() {
    auto resources = resourceFolder();
    if (!resources)
        return std::nullopt;
    return (*resources / "ORVEX").lexically_normal();
}

void BundleSchemeHandler::startURLSchemeTask(platform::WebView&, std::shared_ptr<platform::URLSchemeTask> task) {
    const auto& url = task->request().url;
    if (!url)
        return;
    auto root = contentRoot();
    Response answer = root ? response(*url, *root) : notFound();
    task->didReceiveResponse({*url, answer.statusCode, "HTTP/1.1", answer.headerFields});
    if (answer.statusCode == 200)
        task->didReceiveData(std::move(answer.body));
    task->didFinish();
}

void BundleSchemeHandler::stopURLSchemeTask(platform::WebView&, std::shared_ptr<platform::URLSchemeTask>) {}

} // namespace orrelith
