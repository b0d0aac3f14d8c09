#pragma once

#include "Platform/Views/ImageView.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace orrelith {

// One still image per scene, from the bundle's ORVEX/gallery/<slug>.jpg. Decoded images are kept for the
// life of the process; a failed load is not remembered, so the next call tries again. Main thread only.
struct SceneThumbnails {
    // The scene's image, or null when the bundle has none for it.
    static std::shared_ptr<platform::Image> image(const std::string& slug);
    // The kept image, never loading one.
    static std::shared_ptr<platform::Image> cached(const std::string& slug);
    // Where the scene's still lies in the bundle; nothing when the bundle has no resources.
    static std::optional<std::filesystem::path> stillPath(const std::string& slug);
    // Keeps an image decoded elsewhere (off the main thread, say); an image already kept stays.
    static void keep(const std::string& slug, std::shared_ptr<platform::Image> image);
    // Forgets every kept image, for tests that install a new platform.
    static void resetForTesting();
};

} // namespace orrelith
