#pragma once

#include "OrrelithCore/Settings.hpp"
#include "Saver/OptionsSheet/OptionsModel.hpp"

#include <functional>
#include <memory>
#include <optional>

typedef struct _GtkWindow GtkWindow;

namespace orrelith {

// Makes the options window: a fixed-size window titled with the product's name holding OptionsView over
// a fresh OptionsModel. Escape cancels and Return is Done anywhere in the window (not inside an open menu
// or list). Closing hides the window without saving; the window stays owned by the toolkit's list of
// windows until the caller destroys it. Showing it is the caller's job. Main thread only.
struct OptionsWindow {
    // A standalone window can be closed and minimized from its title bar; an attached one has no close
    // button and ends through Cancel or Done.
    enum class Presentation { standalone, attached };

    // Reads the catalog (an empty one when it cannot be read), takes `initial` or else the stored settings,
    // lists the attached displays. `checkForUpdates` empty: no update controls.
    static GtkWindow* make(Presentation presentation, std::optional<Settings> initial,
                           std::function<void()> checkForUpdates);
    // The same window over a model made elsewhere.
    static GtkWindow* make(Presentation presentation, std::shared_ptr<OptionsModel> model);
    // The model behind a window this type made; null for any other window.
    static std::shared_ptr<OptionsModel> model(GtkWindow* window);
    static void present(GtkWindow* window);
    // Runs `hidden` each time the window is hidden (closed by any means).
    static void onHidden(GtkWindow* window, std::function<void()> hidden);
    // The catalog as the window reads it: an empty one when it cannot be read or decoded.
    static Catalog loadCatalog();
};

} // namespace orrelith
