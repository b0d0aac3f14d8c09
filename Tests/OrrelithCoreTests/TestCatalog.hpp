#pragma once

#include "OrrelithCore/Catalog.hpp"

#include <string>
#include <vector>

namespace orrelith::testing {

// A catalog of the given slugs, in that order, every scene in generation 1 on channel 1.
inline Catalog catalogOf(const std::vector<std::string>& slugs) {
    Catalog catalog;
    for (const auto& slug : slugs)
        catalog.scenes.push_back(Scene{slug, slug, "", 1, 1, {}});
    return catalog;
}

} // namespace orrelith::testing
