// Pictures of the options window for the README: the main form with a pinned display and with a
// shuffling one, and the pool editor, over two displays, in the light and the dark style.
//   options-shots BUNDLE OUTPUT-FOLDER
#include "OptionsHarness.hpp"
#include "Saver/OptionsSheet/OptionsWindow.hpp"

#include <adwaita.h>

#include <iostream>

using namespace orrelith;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: options-shots BUNDLE OUTPUT-FOLDER\n";
        return 2;
    }
    options_harness::install(argv[1]);
    std::filesystem::path out = argv[2];
    auto displays = options_harness::twoDisplays();
    Settings settings;
    settings.displays[displays[0].id] = DisplayMode::fixed("reactor-core");
    settings.shufflePool = std::vector<std::string>{"bridge-status", "helm-conn", "reactor-core", "sensor-sweep",
                                                    "biobed-monitor", "duty-roster", "shield-grid", "star-chart"};
    adw_init();
    for (auto [scheme, style] : {std::pair{ADW_COLOR_SCHEME_FORCE_LIGHT, "light"}, std::pair{ADW_COLOR_SCHEME_FORCE_DARK, "dark"}}) {
        adw_style_manager_set_color_scheme(adw_style_manager_get_default(), scheme);
        for (const char* state : {"pinned", "shuffling", "pool"}) {
            auto model = std::make_shared<OptionsModel>(OptionsWindow::loadCatalog(), settings, displays);
            model->checkForUpdates = [] {};
            if (std::string(state) != "pinned")
                model->setSelected(displays[1].id);
            model->setChoosingPool(std::string(state) == "pool");
            GtkWindow* window = OptionsWindow::make(OptionsWindow::Presentation::standalone, model);
            options_harness::presentAndWaitForFrame(window, 0);
            options_harness::settle(1.0);
            auto file = out / ("options-" + std::string(state) + "-" + style + ".png");
            if (!options_harness::writePNG(window, file)) {
                std::cerr << "cannot write " << file << "\n";
                return 1;
            }
            std::cout << file.string() << "\n";
            gtk_window_destroy(window);
        }
    }
    return 0;
}
