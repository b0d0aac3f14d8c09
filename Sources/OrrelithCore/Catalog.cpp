#include "OrrelithCore/Catalog.hpp"

#include <algorithm>

#include "OrrelithCore/JsonDocument.hpp"

namespace orrelith {
namespace {

const nlohmann::json& member(const nlohmann::json& object, const char* key, std::string_view where) {
    const auto found = object.find(key);
    if (found == object.end()) {
        throw DecodingError(std::string(where) + " lacks \"" + key + "\"");
    }
    return *found;
}

std::string stringMember(const nlohmann::json& object, const char* key, std::string_view where) {
    const auto& value = member(object, key, where);
    if (!value.is_string()) {
        throw DecodingError(std::string(where) + " member \"" + key + "\" is not a string");
    }
    return value.get<std::string>();
}

std::int64_t wholeMember(const nlohmann::json& object, const char* key, std::string_view where) {
    const auto number = JsonDocument::wholeNumber(member(object, key, where));
    if (!number) {
        throw DecodingError(std::string(where) + " member \"" + key + "\" is not a whole 64-bit number");
    }
    return *number;
}

std::optional<std::string> optionalPath(const nlohmann::json& object, std::string_view where) {
    const auto found = object.find("path");
    if (found == object.end() || found->is_null()) {
        return std::nullopt;
    }
    if (!found->is_string()) {
        throw DecodingError(std::string(where) + " member \"path\" is not a string");
    }
    return found->get<std::string>();
}

Scene decodeScene(const nlohmann::json& object, std::size_t index) {
    const std::string where = "scene " + std::to_string(index);
    if (!object.is_object()) {
        throw DecodingError(where + " is not an object");
    }
    return Scene{stringMember(object, "slug", where),      stringMember(object, "title", where),
                 stringMember(object, "subtitle", where),  wholeMember(object, "channel", where),
                 wholeMember(object, "generation", where), optionalPath(object, where)};
}

} // namespace

Catalog Catalog::decode(std::string_view json) {
    const auto document = JsonDocument::parse(json);
    if (!document.is_object()) {
        throw DecodingError("the catalog is not a JSON object");
    }
    Catalog catalog;
    catalog.mirrored = stringMember(document, "mirrored", "the catalog");
    const auto& scenes = member(document, "scenes", "the catalog");
    if (!scenes.is_array()) {
        throw DecodingError("the catalog member \"scenes\" is not an array");
    }
    catalog.scenes.reserve(scenes.size());
    for (std::size_t index = 0; index < scenes.size(); ++index) {
        catalog.scenes.push_back(decodeScene(scenes[index], index));
    }
    return catalog;
}

std::vector<std::string> Catalog::slugs() const {
    std::vector<std::string> result;
    result.reserve(scenes.size());
    for (const auto& scene : scenes) {
        result.push_back(scene.slug);
    }
    return result;
}

const Scene* Catalog::scene(std::string_view slug) const {
    const auto found =
        std::find_if(scenes.begin(), scenes.end(), [&](const Scene& s) { return s.slug == slug; });
    return found == scenes.end() ? nullptr : &*found;
}

bool Catalog::contains(std::string_view slug) const {
    return scene(slug) != nullptr;
}

} // namespace orrelith
