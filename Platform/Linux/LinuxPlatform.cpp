#include "Platform/Linux/LinuxPlatform.hpp"

#include "Platform/Linux/GdkScreenList.hpp"
#include "Platform/Linux/GlibMainQueue.hpp"
#include "Platform/Linux/GtkWindowSystem.hpp"

#include <gtk/gtk.h>

namespace orrelith::platform {

Services linuxServices() {
    Services services;
    services.mainQueue = std::make_shared<GlibMainQueue>();
    if (gtk_init_check()) {
        auto screens = std::make_shared<GdkScreenList>(gdk_display_get_default());
        services.screens = screens;
        services.windows = std::make_shared<GtkWindowSystem>(services.mainQueue, screens);
    }
    return services;
}

} // namespace orrelith::platform
