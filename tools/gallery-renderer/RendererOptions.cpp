#include "RendererOptions.hpp"

#include <cstdio>

namespace orrelith::gallery {

namespace {

bool parseSize(const std::string& text, int& width, int& height) {
    char x = 0;
    char rest = 0;
    return std::sscanf(text.c_str(), "%d%c%d%c", &width, &x, &height, &rest) == 3 && x == 'x' && width > 0 &&
           height > 0;
}

bool parseSeconds(const std::string& text, double& seconds) {
    char rest = 0;
    return std::sscanf(text.c_str(), "%lf%c", &seconds, &rest) == 1 && seconds > 0;
}

// Takes one option (and its value) at args[at]; false when it is not understood.
bool take(const std::vector<std::string>& args, std::size_t& at, RendererOptions& options) {
    const std::string& name = args[at];
    if (name == "--blank") {
        options.hold = RendererOptions::Hold{RendererOptions::HoldKind::Blank, ""};
        return true;
    }
    if (at + 1 >= args.size())
        return false;
    const std::string& value = args[++at];
    if (name == "--hold")
        options.hold = RendererOptions::Hold{RendererOptions::HoldKind::Scene, value};
    else if (name == "--html")
        options.hold = RendererOptions::Hold{RendererOptions::HoldKind::HTMLFile, value};
    else if (name == "--resources")
        options.resources = value;
    else if (name == "--out")
        options.out = value;
    else if (name == "--seconds")
        return parseSeconds(value, options.seconds);
    else if (name == "--size")
        return parseSize(value, options.width, options.height);
    else
        return false;
    return true;
}

} // namespace

std::optional<RendererOptions> RendererOptions::parse(const std::vector<std::string>& args,
                                                      const std::filesystem::path& defaultResources,
                                                      std::string& error) {
    RendererOptions options;
    options.resources = defaultResources;
    for (std::size_t at = 0; at < args.size(); ++at) {
        if (!args[at].starts_with("-")) {
            options.slugs.push_back(args[at]);
        } else if (!take(args, at, options)) {
            error = "not understood: " + args[at];
            return std::nullopt;
        }
    }
    if (options.hold && !options.slugs.empty()) {
        error = "a held page takes no slugs";
        return std::nullopt;
    }
    return options;
}

const char* RendererOptions::usage() {
    return "usage: gallery-renderer [--resources DIR] [--out DIR] [--size WxH] [SLUG...]\n"
           "       gallery-renderer [--resources DIR] [--size WxH] [--seconds N] --hold SLUG|--blank|--html FILE\n";
}

} // namespace orrelith::gallery
