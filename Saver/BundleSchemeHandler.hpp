#pragma once

#include "Platform/Web/URLSchemeHandler.hpp"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orrelith {

// Serves the files below the bundle's ORVEX folder to scene pages through the "orrelith" scheme, and
// nothing else: every request is answered at once, with the whole file or with a bare 404. Holds no state,
// so the one shared instance serves every web view. Main thread only.
//
// Confinement: the decoded path is joined to the content root and resolved lexically; it must name
// something strictly below the root. A decoded path holding a NUL byte is refused before it reaches the
// file system. Symbolic links are followed only while the file they lead to, fully resolved, still lies
// below the resolved root, so a link pointing out of the collection is answered 404 like a missing file.
// Only regular files are read (never folders, pipes or devices).
class BundleSchemeHandler : public platform::URLSchemeHandler {
public:
    // The status, header fields and body the handler answers.
    struct Response {
        int statusCode = 404;
        std::map<std::string, std::string> headerFields;
        std::string body;
        friend bool operator==(const Response&, const Response&) = default;
    };

    // The one process-wide instance, made on first use and never released.
    static std::shared_ptr<BundleSchemeHandler> shared();
    // The content type for a file-name extension (without the dot), compared without case.
    static std::string mimeType(std::string_view extension);
    // The answer to a request for `requestURL`, as the web engine hands it over (its host, query and fragment
    // are ignored), served from below `contentRoot`. Needs nothing else; reads only files below the root.
    static Response response(std::string_view requestURL, const std::filesystem::path& contentRoot);
    // `text` with its percent-escapes removed; nothing for a malformed escape or a result that is not UTF-8.
    static std::optional<std::string> percentDecoded(std::string_view text);
    // The resource folder of the bundle that holds this code; nothing when it has none.
    static std::optional<std::filesystem::path> resourceFolder();
    // The resource folder's ORVEX folder, standardised; nothing when there is no resource folder.
    static std::optional<std::filesystem::path> contentRoot();

    // Answers the task before returning; a task without a URL is left unanswered.
    void startURLSchemeTask(platform::WebView& webView, std::shared_ptr<platform::URLSchemeTask> task) override;
    // Nothing is ever in flight.
    void stopURLSchemeTask(platform::WebView& webView, std::shared_ptr<platform::URLSchemeTask> task) override;

private:
    BundleSchemeHandler() = default;
};

} // namespace orrelith
