#pragma once

#include <memory>

namespace orrelith::platform {

class Updater;
class UpdaterDelegate;
class UserDriverDelegate;

// Whether the controller's updater starts (and schedules its checks) as it is made.
enum class StartUpdater { now, later };

// An updater with the standard user interface, made by the update service. Main thread only.
class UpdaterController {
public:
    virtual ~UpdaterController() = default;
    virtual Updater& updater() = 0;
    // Starts the updater when it was made with StartUpdater::later; nothing afterwards.
    virtual void startUpdater() = 0;
    // The menu item's action: a check with the user interface.
    virtual void checkForUpdates() = 0;
};

} // namespace orrelith::platform
