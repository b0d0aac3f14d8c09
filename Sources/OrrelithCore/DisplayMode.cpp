#include "OrrelithCore/DisplayMode.hpp"

#include "OrrelithCore/JsonDocument.hpp"

namespace orrelith {

DisplayMode DisplayMode::shuffle() {
    return DisplayMode(Kind::shuffle, {});
}

DisplayMode DisplayMode::fixed(std::string slug) {
    return DisplayMode(Kind::fixed, std::move(slug));
}

DisplayMode DisplayMode::decode(std::string_view json) {
    return fromJson(JsonDocument::parse(json));
}

DisplayMode DisplayMode::fromJson(const nlohmann::json& value) {
    if (!value.is_object()) {
        throw DecodingError("a display mode is not an object");
    }
    const auto shuffleCase = value.find("shuffle");
    const auto fixedCase = value.find("fixed");
    if ((shuffleCase != value.end()) == (fixedCase != value.end())) {
        throw DecodingError("Invalid number of keys found, expected one.");
    }
    if (shuffleCase != value.end()) {
        if (!shuffleCase->is_object()) {
            throw DecodingError("the \"shuffle\" case is not an object");
        }
        return shuffle();
    }
    const auto slug = fixedCase->is_object() ? fixedCase->find("_0") : fixedCase->end();
    if (!fixedCase->is_object() || slug == fixedCase->end() || !slug->is_string()) {
        throw DecodingError("the \"fixed\" case lacks a string \"_0\"");
    }
    return fixed(slug->get<std::string>());
}

nlohmann::ordered_json DisplayMode::toJson() const {
    if (isShuffle()) {
        return {{"shuffle", nlohmann::ordered_json::object()}};
    }
    return {{"fixed", {{"_0", slug_}}}};
}

} // namespace orrelith
