// gallery-renderer: the scene collection's stills, made by the saver's own scene web views and scheme
// handler; and one page held open for tools/scene-cpu to measure.
#include "CollectionSystem.hpp"
#include "GalleryRenderer.hpp"
#include "RendererOptions.hpp"

#include "Platform/Linux/LinuxPlatform.hpp"
#include "Platform/Linux/System/GlibMainLoop.hpp"

#include <iostream>

int main(int argc, char** argv) {
    using namespace orrelith;
    std::string error;
    auto options = gallery::RendererOptions::parse({argv + 1, argv + argc}, ORRELITH_RESOURCES_DIR, error);
    if (!options) {
        std::cerr << error << "\n" << gallery::RendererOptions::usage();
        return 2;
    }
    auto services = platform::linuxServices();
    if (!services.windows || !services.web) {
        std::cerr << "no display: run it through tools/render-gallery, which starts Xvfb when there is none\n";
        return 2;
    }
    services.system = std::make_shared<gallery::CollectionSystem>(services.system,
                                                                  std::filesystem::absolute(options->resources));
    platform::install(std::move(services));
    int status = 1;
    {
        platform::GlibMainLoop loop;
        auto renderer = gallery::GalleryRenderer::create(*options, [&](int result) {
            status = result;
            loop.quit();
        });
        renderer->start();
        loop.run();
    }
    platform::uninstall();
    return status;
}
