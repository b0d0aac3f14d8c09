#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "OrrelithCore/DecodingError.hpp"
#include "OrrelithCore/Scene.hpp"

namespace orrelith {

// The scenes that ship with the screen saver, in catalog order. A plain value, read once and never changed;
// every list of slugs derived from it keeps catalog order. Lookups are linear scans.
struct Catalog {
    std::string mirrored;
    std::vector<Scene> scenes;

    // Strict: a missing or mistyped member anywhere fails the whole catalog with DecodingError.
    static Catalog decode(std::string_view json);

    // Every scene's slug in catalog order, duplicates included.
    std::vector<std::string> slugs() const;
    // The first scene in catalog order with exactly this slug; null when there is none. The pointer lives as
    // long as this catalog is neither changed nor destroyed.
    const Scene* scene(std::string_view slug) const;
    bool contains(std::string_view slug) const;

    bool operator==(const Catalog&) const = default;
};

} // namespace orrelith
