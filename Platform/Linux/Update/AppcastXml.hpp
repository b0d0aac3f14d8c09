#pragma once

#include "OrrelithCore/Appcast.hpp"

#include <optional>
#include <string_view>

namespace orrelith::platform {

// Reads an RSS 2.0 update feed with libxml2: each channel item's title, its description as release notes,
// and its enclosure's url, length and sparkle: attributes (or sparkle: elements of the item). The parser
// loads nothing from the network or the disk and substitutes no entity, so a feed cannot reach a file.
// Any thread.
struct AppcastXml {
    // Nothing when the bytes are not a well-formed XML document without a document type whose root is an
    // <rss> with a <channel>.
    static std::optional<Appcast> parse(std::string_view bytes);
};

} // namespace orrelith::platform
