// The Linux screen-saver host: installs the real platform and hands over to HostApplication.
#include "Host/HostApplication.hpp"
#include "Platform/Linux/System/GlibMainLoop.hpp"
#include "Platform/Linux/LinuxPlatform.hpp"

#include <iostream>

int main(int argc, char** argv) {
    using namespace orrelith;
    platform::install(platform::linuxServices());
    int status = 0;
    {
        auto application = host::HostApplication::create(std::make_shared<platform::GlibMainLoop>(), std::cout,
                                                          std::cerr);
        status = application->run(std::vector<std::string>(argv + 1, argv + argc));
    }
    // Dropping the services sends what the distributed center still holds before the process goes.
    platform::uninstall();
    return status;
}
