// Times the options window under Xvfb, side by side in one run: from make to the first painted frame for
// an empty preferences window of the same size, for the shipped catalog and for a generated catalog of
// 200 scenes (with stills), then for the shipped catalog to the frame that shows every still (they are
// decoded off the main thread), and from a pool tile's click to the next painted frame.
//   options-bench "Quorvane Options.app" [runs]
#include "OptionsHarness.hpp"
#include "Platform/Fake/System/FakeSystem.hpp"
#include "Saver/Displays.hpp"
#include "Saver/OptionsSheet/OptionsWindow.hpp"
#include "Saver/OptionsSheet/ThumbnailImage.hpp"
#include "Saver/SceneThumbnails.hpp"
#include "TemporaryFolder.hpp"

#include <adwaita.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <iomanip>
#include <iostream>

using namespace orrelith;
namespace fs = std::filesystem;

namespace {

double median(std::vector<long long> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2] / 1000.0;
}

// A copy of the bundle whose catalog holds `count` scenes across the seven collections, each with a still.
platform::Bundle generatedBundle(const fs::path& shipped, const fs::path& folder, int count) {
    auto resources = folder / "Generated.app" / "Contents" / "Resources";
    fs::create_directories(resources / "ORVEX" / "gallery");
    std::vector<fs::path> stills;
    for (const auto& entry : fs::directory_iterator(shipped / "Contents/Resources/ORVEX/gallery"))
        stills.push_back(entry.path());
    std::sort(stills.begin(), stills.end());
    nlohmann::json scenes = nlohmann::json::array();
    for (int i = 0; i < count; ++i) {
        auto slug = "generated-" + std::to_string(i);
        scenes.push_back({{"slug", slug}, {"title", "Console " + std::to_string(i)}, {"subtitle", "Generated"},
                          {"channel", i + 1}, {"generation", i % 7 + 1}});
        fs::copy_file(stills[std::size_t(i) % stills.size()], resources / "ORVEX" / "gallery" / (slug + ".jpg"));
    }
    std::ofstream(resources / "ORVEX" / "catalog.json") << nlohmann::json{{"mirrored", ""}, {"scenes", scenes}}.dump();
    return platform::Bundle{folder / "Generated.app", resources, {}, {}};
}

// The stored settings the window opens on: the main display pinned to the catalog's first scene, so that
// the scene grid is part of the first frame.
Settings pinnedFirst() {
    Settings settings;
    auto catalog = OptionsWindow::loadCatalog();
    for (const auto& display : Displays::current())
        if (!catalog.scenes.empty())
            settings.displays[display.id] = DisplayMode::fixed(catalog.scenes.front().slug);
    return settings;
}

long long emptyWindow() {
    long long start = g_get_monotonic_time();
    GtkWidget* window = adw_preferences_window_new();
    gtk_window_set_default_size(GTK_WINDOW(window), 660, 747);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    long long took = options_harness::presentAndWaitForFrame(GTK_WINDOW(window), start);
    gtk_window_destroy(GTK_WINDOW(window));
    return took;
}

enum class Until { firstFrame, everyStillShown };

long long optionsWindow(Until until) {
    SceneThumbnails::resetForTesting();
    long long start = g_get_monotonic_time();
    GtkWindow* window = OptionsWindow::make(OptionsWindow::Presentation::standalone, pinnedFirst(), {});
    long long took = options_harness::presentAndWaitForFrame(window, start);
    if (until == Until::everyStillShown) {
        while (ThumbnailImage::stillsPending() > 0)
            g_main_context_iteration(nullptr, TRUE);
        took = options_harness::waitForNextFrame(window, start);
    }
    gtk_window_destroy(window);
    return took;
}

GtkWidget* visiblePoolTile(GtkWidget* root) {
    if (gtk_widget_has_css_class(root, "orrelith-scene-tile") && gtk_widget_get_mapped(root))
        return root;
    for (GtkWidget* child = gtk_widget_get_first_child(root); child; child = gtk_widget_get_next_sibling(child))
        if (GtkWidget* found = visiblePoolTile(child))
            return found;
    return nullptr;
}

std::vector<long long> poolClicks(int runs) {
    GtkWindow* window = OptionsWindow::make(OptionsWindow::Presentation::standalone, Settings(), {});
    OptionsWindow::model(window)->setChoosingPool(true);
    options_harness::presentAndWaitForFrame(window, 0);
    options_harness::settle(0.5);
    std::vector<long long> times;
    GtkWidget* tile = visiblePoolTile(GTK_WIDGET(window));
    for (int i = 0; tile && i < runs; ++i) {
        long long start = g_get_monotonic_time();
        g_signal_emit_by_name(tile, "clicked");
        times.push_back(options_harness::waitForNextFrame(window, start));
        options_harness::settle(0.05);
    }
    gtk_window_destroy(window);
    return times;
}

template <typename F> std::vector<long long> repeat(int runs, F measure) {
    measure(); // warm-up: theme, icons, fonts
    std::vector<long long> times;
    for (int i = 0; i < runs; ++i) {
        times.push_back(measure());
        options_harness::settle(0.05);
    }
    return times;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: options-bench BUNDLE [runs]\n";
        return 2;
    }
    int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    auto system = options_harness::install(argv[1]);
    adw_init();
    auto shippedBundle = system->codeBundle;
    testing::TemporaryFolder folder("options-bench");
    auto generated = generatedBundle(argv[1], folder.path(), 200);

    double empty = median(repeat(runs, emptyWindow));
    double shipped = median(repeat(runs, [] { return optionsWindow(Until::firstFrame); }));
    double stills = median(repeat(runs, [] { return optionsWindow(Until::everyStillShown); }));
    auto shippedClicks = poolClicks(runs);
    system->codeBundle = generated;
    double large = median(repeat(runs, [] { return optionsWindow(Until::firstFrame); }));
    auto largeClicks = poolClicks(runs);
    system->codeBundle = shippedBundle;

    std::cout << std::fixed << std::setprecision(1) << "median of " << runs << " runs, milliseconds\n"
              << "make to first frame:  empty preferences window " << empty << "  |  shipped catalog ("
              << OptionsWindow::loadCatalog().scenes.size() << " scenes) " << shipped << "  |  generated catalog (200 scenes) "
              << large << "\n"
              << "make to the frame showing every still (shipped catalog): " << stills << "\n"
              << std::setprecision(2) << "ratios:  shipped / empty " << shipped / empty << " (target <= 1.5)  |  200 / shipped "
              << large / shipped << " (target <= 1.2)\n"
              << std::setprecision(1) << "pool tile click to redrawn frame:  shipped " << median(shippedClicks) << "  |  200 scenes "
              << median(largeClicks) << "\n";
    return 0;
}
