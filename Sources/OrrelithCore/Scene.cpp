#include "OrrelithCore/Scene.hpp"

#include <fmt/format.h>

namespace orrelith {

std::string Scene::page() const {
    return path ? *path : slug + ".html";
}

std::string Scene::caption() const {
    return fmt::format("CH {:02} \u00B7 {}", channel, title);
}

} // namespace orrelith

std::size_t std::hash<orrelith::Scene>::operator()(const orrelith::Scene& scene) const noexcept {
    std::size_t seed = 0;
    auto mix = [&seed](std::size_t value) {
        seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    };
    mix(std::hash<std::string>{}(scene.slug));
    mix(std::hash<std::string>{}(scene.title));
    mix(std::hash<std::string>{}(scene.subtitle));
    mix(std::hash<std::int64_t>{}(scene.channel));
    mix(std::hash<std::int64_t>{}(scene.generation));
    mix(scene.path ? std::hash<std::string>{}(*scene.path) : 0x51ed27ULL);
    return seed;
}
