#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include <nlohmann/json.hpp>

#include "OrrelithCore/DecodingError.hpp"

namespace orrelith {

// The one entry point through which the core turns text into a JSON tree. Parsing itself is iterative, but
// copying, comparing and writing a tree recurse, so nesting is bounded here and hostile documents fail early.
struct JsonDocument {
    static constexpr int maxDepth = 256;

    // Throws DecodingError when the text is not JSON (truncated, binary, invalid UTF-8) or nests deeper than
    // maxDepth.
    static nlohmann::json parse(std::string_view text);

    // The number as a signed 64-bit integer when it is a JSON number with a whole value in range (7 and 7.0
    // are, 7.5 and 2^63 are not); nothing for every other value, booleans and strings included.
    static std::optional<std::int64_t> wholeNumber(const nlohmann::json& value);
};

} // namespace orrelith
