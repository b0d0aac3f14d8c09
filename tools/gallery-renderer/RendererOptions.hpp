#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orrelith::gallery {

// The command line of gallery-renderer:
//   gallery-renderer [--resources DIR] [--out DIR] [SLUG...]        stills of the scenes (all by default)
//   gallery-renderer [--resources DIR] --hold SLUG|--blank|--html FILE [--seconds N]
//                                                                    one page held open, "ready" once loaded
// --size WxH sets the window (1280x800).
struct RendererOptions {
    enum class HoldKind { Scene, Blank, HTMLFile };
    struct Hold {
        HoldKind kind = HoldKind::Blank;
        std::string name; // the slug or the HTML file
    };

    std::filesystem::path resources; // the folder holding ORVEX
    std::optional<std::filesystem::path> out; // where stills go; ORVEX/gallery by default
    std::vector<std::string> slugs;
    std::optional<Hold> hold;
    double seconds = 15.0;
    int width = 1280;
    int height = 800;

    // Nothing, with `error` set, for a command line that is not understood.
    static std::optional<RendererOptions> parse(const std::vector<std::string>& args,
                                                const std::filesystem::path& defaultResources, std::string& error);
    static const char* usage();
};

} // namespace orrelith::gallery
