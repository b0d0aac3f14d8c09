#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace orrelith {

// One catalog entry: a self-contained web page and what people are told about it. A plain value.
struct Scene {
    std::string slug;
    std::string title;
    std::string subtitle;
    std::int64_t channel = 0;
    std::int64_t generation = 0;
    std::optional<std::string> path;

    // The page file relative to the scene folder: `path` when present, else the slug plus ".html".
    std::string page() const;
    // "CH 07 · Title": the channel with at least two digits, a middle dot, the title.
    std::string caption() const;

    bool operator==(const Scene&) const = default;
};

} // namespace orrelith

template <> struct std::hash<orrelith::Scene> {
    std::size_t operator()(const orrelith::Scene& scene) const noexcept;
};
