#pragma once

#include "Platform/Fake/Update/FakeUpdaterController.hpp"
#include "Platform/Update/UpdateService.hpp"

namespace orrelith::platform {

// Keeps every controller it made, in order.
class FakeUpdateService : public UpdateService {
public:
    std::shared_ptr<UpdaterController> makeStandardController(StartUpdater start,
                                                              std::weak_ptr<UpdaterDelegate> updaterDelegate,
                                                              std::weak_ptr<UserDriverDelegate> userDriverDelegate) override {
        controllers.push_back(std::make_shared<FakeUpdaterController>(start, std::move(updaterDelegate),
                                                                      std::move(userDriverDelegate)));
        return controllers.back();
    }

    std::vector<std::shared_ptr<FakeUpdaterController>> controllers;
};

} // namespace orrelith::platform
