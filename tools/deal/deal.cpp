// Deals scenes to N displays tick by tick with the real chooser, from a catalog and a settings document on
// disk, and prints what each display shows.
#include <charconv>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <fmt/format.h>
#include <fmt/ranges.h>

#include "OrrelithCore/Catalog.hpp"
#include "OrrelithCore/SceneChooser.hpp"
#include "OrrelithCore/SettingsFile.hpp"

using namespace orrelith;

namespace {

struct Options {
    std::string catalogPath;
    std::string settingsPath;
    int displays = 3;
    int ticks = 12;
    std::optional<std::uint64_t> seed;
};

struct Display {
    std::string key;
    std::string name;
    bool pinned = false;
};

const char* const usage =
    "usage: deal --catalog FILE --settings FILE [--displays N] [--ticks T] [--seed S]\n"
    "  Deals scenes to N displays (keys frame-0x0, frame-1920x0, ...) for T shuffle-timer ticks.\n";

template <typename Number> bool parseNumber(const std::string& text, Number& out, Number low, Number high) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && out >= low && out <= high;
}

bool parseOption(const std::string& flag, const std::string& value, Options& options) {
    if (flag == "--catalog") {
        options.catalogPath = value;
    } else if (flag == "--settings") {
        options.settingsPath = value;
    } else if (flag == "--displays") {
        return parseNumber(value, options.displays, 1, 64);
    } else if (flag == "--ticks") {
        return parseNumber(value, options.ticks, 0, 100000);
    } else if (flag == "--seed") {
        std::uint64_t seed = 0;
        if (!parseNumber(value, seed, std::uint64_t{0}, UINT64_MAX)) {
            return false;
        }
        options.seed = seed;
    } else {
        return false;
    }
    return true;
}

std::optional<Options> parseArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc || !parseOption(argv[i], argv[i + 1], options)) {
            std::cerr << "deal: bad or incomplete option " << argv[i] << "\n";
            return std::nullopt;
        }
    }
    if (options.catalogPath.empty() || options.settingsPath.empty()) {
        return std::nullopt;
    }
    return options;
}

std::optional<Catalog> readCatalog(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        std::cerr << "deal: cannot open the catalog " << path << "\n";
        return std::nullopt;
    }
    const std::string text{std::istreambuf_iterator<char>(stream), {}};
    try {
        return Catalog::decode(text);
    } catch (const DecodingError& error) {
        std::cerr << "deal: " << path << " is not a catalog: " << error.what() << "\n";
        return std::nullopt;
    }
}

std::vector<Display> makeDisplays(int count, const Settings& settings, const Catalog& catalog) {
    std::vector<Display> displays;
    for (int i = 0; i < count; ++i) {
        const std::string key = fmt::format("frame-{}x0", i * 1920);
        const auto name = settings.displayNames.find(key);
        displays.push_back(Display{
            key, name != settings.displayNames.end() ? name->second : fmt::format("Display {}", i + 1),
            settings.mode(key, catalog).isFixed()});
    }
    return displays;
}

void printHeader(const Options& options, const Catalog& catalog, const Settings& settings,
                 const std::vector<Display>& displays) {
    const auto pool = settings.pool(catalog);
    fmt::print("Catalog {}: {} scenes. Settings {}: ", options.catalogPath, catalog.scenes.size(),
               options.settingsPath);
    if (settings.shuffleInterval > 0) {
        fmt::print("a new scene every {} s", settings.shuffleInterval);
    } else {
        fmt::print("scenes change only at start");
    }
    fmt::print(", distinct scenes across displays {}.\nPool of {}: {}\n",
               settings.distinctAcrossDisplays ? "on" : "off", pool.size(), fmt::join(pool, ", "));
    for (const auto& display : displays) {
        const auto mode = settings.mode(display.key, catalog);
        fmt::print("  {:<14} {:<18} {}\n", display.key, display.name,
                   display.pinned ? "pinned to " + catalog.scene(mode.slug())->caption()
                                  : std::string("shuffles"));
    }
}

std::string clock(double seconds) {
    const auto whole = static_cast<long long>(seconds);
    return fmt::format("{}:{:02}:{:02}", whole / 3600, whole / 60 % 60, whole % 60);
}

struct Tally {
    int sharedAtOnce = 0;
    int repeatedInARow = 0;
    std::map<std::string, std::map<std::string, int>> plays;
};

// One tick: every display that rotates asks the chooser, in start order, as their timers fire.
std::vector<std::string> runTick(int tick, SceneChooser& chooser, const std::vector<Display>& displays,
                                 const Settings& settings, const Catalog& catalog,
                                 std::set<std::string>& active) {
    std::vector<std::string> shown;
    for (const auto& display : displays) {
        active.insert(display.key); // at tick 0 each display registers just before its first scene
        if (tick == 0 || !display.pinned) {
            chooser.next(display.key, settings, catalog, active);
        }
        shown.push_back(chooser.showing().at(display.key));
    }
    return shown;
}

void tally(const std::vector<std::string>& shown, const std::vector<std::string>& before,
           const std::vector<Display>& displays, Tally& counts) {
    for (std::size_t i = 0; i < shown.size(); ++i) {
        ++counts.plays[displays[i].key][shown[i]];
        counts.repeatedInARow += !before.empty() && !displays[i].pinned && before[i] == shown[i];
        for (std::size_t j = 0; j < i; ++j) {
            counts.sharedAtOnce += shown[i] == shown[j];
        }
    }
}

void printRow(int tick, double seconds, const std::vector<std::string>& shown,
              const std::vector<Display>& displays, std::size_t width) {
    fmt::print("{:>5}  {:>8}", tick, clock(seconds));
    for (std::size_t i = 0; i < shown.size(); ++i) {
        fmt::print("  {:<{}}", shown[i] + (displays[i].pinned ? "*" : ""), i + 1 < shown.size() ? width : 0);
    }
    fmt::print("\n");
}

std::size_t printTableHeader(const Catalog& catalog, const std::vector<Display>& displays) {
    std::size_t width = 0;
    for (const auto& display : displays) {
        width = std::max(width, display.key.size());
    }
    for (const auto& slug : catalog.slugs()) {
        width = std::max(width, slug.size() + 1);
    }
    fmt::print("\n{:>5}  {:>8}", "tick", "time");
    for (std::size_t i = 0; i < displays.size(); ++i) {
        fmt::print("  {:<{}}", displays[i].key, i + 1 < displays.size() ? width : 0);
    }
    fmt::print("\n");
    return width;
}

SceneChooser makeChooser(const std::optional<std::uint64_t>& seed) {
    if (!seed) {
        return SceneChooser();
    }
    return SceneChooser([engine = std::mt19937_64(*seed)]() mutable { return engine(); });
}

Tally deal(const Options& options, const Catalog& catalog, const Settings& settings,
           const std::vector<Display>& displays) {
    SceneChooser chooser = makeChooser(options.seed);
    const std::size_t width = printTableHeader(catalog, displays);
    const int ticks = settings.shuffleInterval > 0 ? options.ticks : 0;
    std::set<std::string> active;
    std::vector<std::string> before;
    Tally counts;
    for (int tick = 0; tick <= ticks; ++tick) {
        const auto shown = runTick(tick, chooser, displays, settings, catalog, active);
        printRow(tick, tick * std::max(settings.shuffleInterval, 0.0), shown, displays, width);
        tally(shown, before, displays, counts);
        before = shown;
    }
    return counts;
}

void printSummary(const Tally& counts, const std::vector<Display>& displays) {
    fmt::print("* pinned\n\nScenes shown per display:\n");
    for (const auto& display : displays) {
        std::vector<std::string> entries;
        for (const auto& [slug, times] : counts.plays.at(display.key)) {
            entries.push_back(fmt::format("{} x{}", slug, times));
        }
        fmt::print("  {:<14} {}\n", display.key, fmt::join(entries, ", "));
    }
    fmt::print("Same scene on two displays at once: {} times. Shuffling display kept its scene at a tick: {} "
               "times.\n",
               counts.sharedAtOnce, counts.repeatedInARow);
}

} // namespace

int main(int argc, char** argv) {
    const auto options = parseArguments(argc, argv);
    if (!options) {
        std::cerr << usage;
        return 2;
    }
    const auto catalog = readCatalog(options->catalogPath);
    const auto settings = SettingsFile(options->settingsPath).load();
    if (!settings) {
        std::cerr << "deal: cannot read the settings document " << options->settingsPath << "\n";
    }
    if (!catalog || !settings) {
        return 1;
    }
    if (catalog->scenes.empty()) {
        std::cerr << "deal: the catalog holds no scenes\n";
        return 1;
    }
    const auto displays = makeDisplays(options->displays, *settings, *catalog);
    printHeader(*options, *catalog, *settings, displays);
    printSummary(deal(*options, *catalog, *settings, displays), displays);
    return 0;
}
