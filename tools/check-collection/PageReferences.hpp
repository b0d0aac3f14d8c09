#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orrelith::collection {

// The literal file references in the text of a page, style sheet or script: src= and href= attributes,
// url(...) and @import in style sheets, and fetch() of a string literal. References built at run time are
// not seen; a fetch in a script is taken to be relative to the script's own folder, which holds for scripts
// that sit beside the pages that load them. Pure functions; safe on any thread.
struct PageReferences {
    // Every reference in order of appearance, exactly as written (quotes removed).
    static std::vector<std::string> extract(std::string_view text);

    // The part of a reference that names a file: no query or fragment, percent-escapes decoded as the
    // scheme handler decodes them (a malformed escape leaves the text as written).
    // Empty for references that name no file here (data:, javascript:, about:, blob:, a bare #fragment).
    static std::string filePart(std::string_view reference);
};

} // namespace orrelith::collection
