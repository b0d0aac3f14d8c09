#include "Platform/Linux/Update/AppcastUpdateService.hpp"

namespace orrelith::platform {

std::shared_ptr<UpdaterController> AppcastUpdateService::makeStandardController(
    StartUpdater start, std::weak_ptr<UpdaterDelegate> updaterDelegate,
    std::weak_ptr<UserDriverDelegate> userDriverDelegate) {
    auto updater = AppcastUpdater::create(configuration_, std::move(updaterDelegate), std::move(userDriverDelegate));
    if (start == StartUpdater::now)
        updater->startUpdater();
    updaters_.push_back(updater);
    return updater;
}

void AppcastUpdateService::installOnQuit() {
    for (const auto& weak : updaters_)
        if (auto updater = weak.lock())
            updater->installOnQuit();
}

} // namespace orrelith::platform
