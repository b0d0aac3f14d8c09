#include "Saver/SceneThumbnails.hpp"

#include "Platform/Platform.hpp"
#include "Platform/Views/WindowSystem.hpp"
#include "Saver/BundleSchemeHandler.hpp"

#include <map>

namespace orrelith {

namespace {

std::map<std::string, std::shared_ptr<platform::Image>>& cache() {
    static std::map<std::string, std::shared_ptr<platform::Image>> images;
    return images;
}

} // namespace

std::shared_ptr<platform::Image> SceneThumbnails::image(const std::string& slug) {
    if (auto found = cache().find(slug); found != cache().end())
        return found->second;
    auto resources = BundleSchemeHandler::resourceFolder();
    if (!resources)
        return nullptr;
    auto image = platform::windows().loadImage(*resources / "ORVEX" / "gallery" / (slug + ".jpg"));
    if (image)
        cache().emplace(slug, image);
    return image;
}

void SceneThumbnails::resetForTesting() { cache().clear(); }

} // namespace orrelith
