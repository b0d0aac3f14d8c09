// The Linux screen-saver host: installs the real platform and hands over to HostApplication.
#include "Host/HostApplication.hpp"
#include "Host/SettingsPane/SettingsPane.hpp"
#include "Platform/Linux/System/GlibMainLoop.hpp"
#include "Platform/Linux/LinuxPlatform.hpp"

#include <cerrno>
#include <cstring>
#include <iostream>

#include <unistd.h>

namespace {

// The program over again with the same arguments, so that the plug-in's new copy is loaded: a dlopen'd
// C++ library is not reliably unloaded, and the new copy sits at the old one's path. Returns on failure.
int startOver(char** argv) {
    std::cout.flush();
    std::cerr.flush();
    execv("/proc/self/exe", argv);
    std::cerr << orrelith::host::HostApplication::programName << ": cannot start afresh: " << std::strerror(errno)
              << std::endl;
    return 1;
}

// The daemon's only windows are its black covers.
orrelith::platform::WindowContent windowContent(const std::vector<std::string>& arguments) {
    try {
        if (orrelith::host::HostOptions::parse(arguments).daemon)
            return orrelith::platform::WindowContent::PlainColours;
    } catch (const std::exception&) {
        // The application says what is wrong with them.
    }
    return orrelith::platform::WindowContent::Anything;
}

} // namespace

int main(int argc, char** argv) {
    using namespace orrelith;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    platform::install(platform::linuxServices(windowContent(arguments)));
    int status = 0;
    bool reload = false;
    {
        auto settingsPane = [](const host::HostOptions& options, std::function<void()> closed,
                               std::function<void(const std::string&)> say) -> std::shared_ptr<host::SettingsWindow> {
            std::error_code error;
            auto program = std::filesystem::read_symlink("/proc/self/exe", error);
            return host::SettingsPane::create(options, program, std::move(closed), std::move(say));
        };
        auto application = host::HostApplication::create(std::make_shared<platform::GlibMainLoop>(), std::cout,
                                                          std::cerr, settingsPane);
        status = application->run(arguments);
        reload = application->reloadRequested();
    }
    // Dropping the services sends what the distributed center still holds before the process goes.
    platform::uninstall();
    return reload ? startOver(argv) : status;
}
