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
    if (auto found = cached(slug))
        return found;
    auto path = stillPath(slug);
    if (!path)
        return nullptr;
    auto image = platform::windows().loadImage(*path);
    keep(slug, image);
    return image;
}

std::shared_ptr<platform::Image> SceneThumbnails::cached(const std::string& slug) {
    auto found = cache().find(slug);
    return found == cache().end() ? nullptr : found->second;
}

std::optional<std::filesystem::path> SceneThumbnails::stillPath(const std::string& slug) {
    auto resources = BundleSchemeHandler::resourceFolder();
    if (!resources)
        return std::nullopt;
    return *resources / "ORVEX" / "gallery" / (slug + ".jpg");
}

void SceneThumbnails::keep(const std::string& slug, std::shared_ptr<platform::Image> image) {
    if (image)
        cache().emplace(slug, std::move(image));
}

void SceneThumbnails::resetForTesting() { cache().clear(); }

} // namespace orrelith
