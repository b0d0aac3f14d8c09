#include "Platform/Fake/FakePlatform.hpp"

namespace orrelith::platform {

FakePlatform::FakePlatform() {
    Services services;
    services.mainQueue = queue;
    install(std::move(services));
}

FakePlatform::~FakePlatform() { uninstall(); }

} // namespace orrelith::platform
