#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orrelith {

// Standard Base64 (RFC 4648 alphabet, with padding, no line breaks).
struct Base64 {
    static std::string encode(std::string_view bytes);
    // The bytes, or nothing when `text` is not canonical padded Base64.
    static std::optional<std::string> decode(std::string_view text);
};

} // namespace orrelith
