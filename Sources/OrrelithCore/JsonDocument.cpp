#include "OrrelithCore/JsonDocument.hpp"

#include <cmath>
#include <limits>
#include <string>

#include "OrrelithCore/DecodingError.hpp"

namespace orrelith {
namespace {

// Counts nesting outside strings. Exact for JSON text; for anything else the parser fails afterwards anyway,
// and the parser itself does not recurse.
bool nestsDeeperThan(std::string_view text, int limit) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) {
                return true;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

} // namespace

nlohmann::json JsonDocument::parse(std::string_view text) {
    // The parser would stop at a NUL and accept whatever came before it; JSON text never contains one.
    if (text.find('\0') != std::string_view::npos) {
        throw DecodingError("JSON text contains a NUL byte");
    }
    if (nestsDeeperThan(text, maxDepth)) {
        throw DecodingError("JSON nests deeper than " + std::to_string(maxDepth) + " levels");
    }
    try {
        return nlohmann::json::parse(text.begin(), text.end());
    } catch (const nlohmann::json::exception& error) {
        throw DecodingError(error.what());
    }
}

std::optional<std::int64_t> JsonDocument::wholeNumber(const nlohmann::json& value) {
    if (value.is_number_integer() && !value.is_number_unsigned()) {
        return value.get<std::int64_t>();
    }
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        if (number > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return std::nullopt;
        }
        return static_cast<std::int64_t>(number);
    }
    if (!value.is_number_float()) {
        return std::nullopt;
    }
    // Integer literals beyond 64 bits arrive as floats too; -2^63 itself is refused because a literal just
    // below it rounds to exactly that value.
    constexpr double limit = 9223372036854775808.0;
    const double number = value.get<double>();
    if (!(number > -limit && number < limit) || std::trunc(number) != number) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(number);
}

} // namespace orrelith
