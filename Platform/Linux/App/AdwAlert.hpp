#pragma once

#include "Platform/App/Alert.hpp"

typedef struct _GtkWindow GtkWindow;

namespace orrelith::platform {

// Alerts as libadwaita message dialogs, transient for the application's visible window when there is one,
// run to completion in a nested main loop (timers and main-queue work keep running meanwhile). Both styles
// look alike: a message dialog has no warning look of its own. Built into the options application only, so the
// plug-in never links libadwaita.
class AdwAlert : public Alert {
public:
    std::size_t runModal(const AlertContent& content) override;
    // The application's first visible window, which dialogs are made transient for; null when none shows.
    static GtkWindow* parentWindow();
};

} // namespace orrelith::platform
