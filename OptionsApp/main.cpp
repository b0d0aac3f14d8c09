// The options application: installs the real platform and opens the options window on the stored settings;
// the program ends when the window closes.
#include "Platform/Linux/LinuxPlatform.hpp"
#include "Platform/Linux/System/GlibMainLoop.hpp"
#include "Saver/OptionsSheet/OptionsWindow.hpp"

#include <iostream>

int main() {
    using namespace orrelith;
    platform::install(platform::linuxServices());
    if (!platform::installed().windows) {
        std::cerr << "Quorvane Options needs a display.\n";
        return 1;
    }
    {
        auto loop = std::make_shared<platform::GlibMainLoop>();
        loop->setTerminationHandler([loop](int) { loop->quit(); });
        GtkWindow* window = OptionsWindow::make(OptionsWindow::Presentation::standalone, std::nullopt, {});
        OptionsWindow::onHidden(window, [loop] { loop->quit(); });
        OptionsWindow::present(window);
        loop->run();
    }
    platform::uninstall();
    return 0;
}
