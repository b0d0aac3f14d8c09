#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace orrelith {

// The product's constants as the options application shows and uses them. Compiled into the application
// only; nothing here is state.
struct Brand {
    // One scene collection: the scenes of one generation, shown under one heading.
    struct Collection {
        std::int64_t generation;
        std::string_view heading;
    };

    static constexpr std::string_view name = "Quorvane";
    // The product family's own name; when `name` differs, copies installed under the older name are looked
    // for.
    static constexpr std::string_view familyName = "Orrelith";
    static constexpr std::array<std::string_view, 1> oldAgentLabels{"org.kestrin.orvex.update-check"};
    // In the order the options window lists them.
    static constexpr std::array<Collection, 7> collections{{
        {1, "Bridge & Command"},
        {2, "Engineering"},
        {3, "Science"},
        {4, "Medical"},
        {5, "Operations & Crew"},
        {6, "Tactical & Security"},
        {7, "Navigation & Fleet"},
    }};
};

} // namespace orrelith
