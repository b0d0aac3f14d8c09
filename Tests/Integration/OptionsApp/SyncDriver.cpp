// Runs one screen-saver sync for the kill test: the home is ROOT/home and the application ROOT/APP. Prints
// "ready" just before the sync starts, so that the test's kill lands inside it.
#include "OptionsApp/Install.hpp"
#include "Platform/Fake/FakePlatform.hpp"
#include "SaverBundles.hpp"

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    using namespace orrelith;
    if (argc != 3)
        return 2;
    platform::FakePlatform fake;
    auto system = std::make_shared<testing::DiskSystem>();
    system->placeBelow(argv[1], argv[2]);
    system->processIdentifierValue = static_cast<int>(::getpid());
    auto services = platform::installed();
    services.system = system;
    platform::install(services);
    std::puts("ready");
    std::fflush(stdout);
    return Install::syncSaver().kind() == SaverSync::Kind::updated ? 0 : 1;
}
