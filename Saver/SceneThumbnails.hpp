#pragma once

#include "Platform/Views/ImageView.hpp"

#include <memory>
#include <string>

namespace orrelith {

// One still image per scene, from the bundle's ORVEX/gallery/<slug>.jpg. Decoded images are kept for the
// life of the process; a failed load is not remembered, so the next call tries again. Main thread only.
struct SceneThumbnails {
    // The scene's image, or null when the bundle has none for it.
    static std::shared_ptr<platform::Image> image(const std::string& slug);
    // Forgets every kept image, for tests that install a new platform.
    static void resetForTesting();
};

} // namespace orrelith
