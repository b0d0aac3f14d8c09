#pragma once

#include "Platform/Linux/Update/AppcastUpdater.hpp"
#include "Platform/Update/UpdateService.hpp"

#include <vector>

namespace orrelith::platform {

// The update service of the running application: every controller it makes reads the same bundle's
// appcast. The program calls installOnQuit() once its event loop has ended. Main thread only.
class AppcastUpdateService : public UpdateService {
public:
    explicit AppcastUpdateService(UpdaterConfiguration configuration) : configuration_(std::move(configuration)) {}

    std::shared_ptr<UpdaterController> makeStandardController(
        StartUpdater start, std::weak_ptr<UpdaterDelegate> updaterDelegate,
        std::weak_ptr<UserDriverDelegate> userDriverDelegate) override;
    // Installs what any living updater has staged.
    void installOnQuit();

private:
    UpdaterConfiguration configuration_;
    std::vector<std::weak_ptr<AppcastUpdater>> updaters_;
};

} // namespace orrelith::platform
