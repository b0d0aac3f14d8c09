#include "OrrelithCore/JsonDocument.hpp"

#include <cmath>
#include <limits>

#include "OrrelithCore/DecodingError.hpp"

namespace orrelith {

nlohmann::json JsonDocument::parse(std::string_view text) {
    using Event = nlohmann::json::parse_event_t;
    auto boundDepth = [](int depth, Event event, nlohmann::json&) {
        if ((event == Event::object_start || event == Event::array_start) && depth >= maxDepth) {
            throw DecodingError("JSON nests deeper than " + std::to_string(maxDepth) + " levels");
        }
        return true;
    };
    try {
        return nlohmann::json::parse(text.begin(), text.end(), boundDepth);
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
