#pragma once

#include "Platform/Update/UpdaterController.hpp"

#include <memory>

namespace orrelith::platform {

class UpdaterDelegate;
class UserDriverDelegate;

// Makes the application's standard updater controller. Main thread only.
class UpdateService {
public:
    virtual ~UpdateService() = default;
    // The delegates are held weakly; a delegate that is gone is not called.
    virtual std::shared_ptr<UpdaterController> makeStandardController(
        StartUpdater start, std::weak_ptr<UpdaterDelegate> updaterDelegate,
        std::weak_ptr<UserDriverDelegate> userDriverDelegate) = 0;
};

} // namespace orrelith::platform
