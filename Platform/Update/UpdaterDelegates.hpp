#pragma once

#include "OrrelithCore/Appcast.hpp"

#include <functional>
#include <string>

namespace orrelith::platform {

class Updater;

// Where the user-driver stands when it is about to show an update.
struct UpdateUserState {
    // The user asked for the check (a menu item), rather than a scheduled or background one.
    bool userInitiated = false;
    // The release was already downloaded and only waits to be installed.
    bool downloaded = false;
};

// The application's answers to the updater. Called on the main thread, by the updater's own event-loop work
// (never synchronously from the call that started a check); the updater holds the delegate weakly.
class UpdaterDelegate {
public:
    virtual ~UpdaterDelegate() = default;
    // A verified release waits to be installed when the application quits. `immediateInstallation` would
    // install it and relaunch at once. True: the delegate takes over and calls it; false: the updater
    // installs on quit by itself.
    virtual bool willInstallUpdateOnQuit(Updater& updater, const AppcastItem& item,
                                         std::function<void()> immediateInstallation) = 0;
    // Asked after installing: true starts the new version.
    virtual bool shouldRelaunchApplication(Updater& updater) = 0;
    virtual void didNotFindUpdate(Updater& updater) = 0;
    // The check or the update failed; `message` is for the user.
    virtual void didAbortWithError(Updater& updater, const std::string& message) = 0;
};

// The standard user interface's notices to the application. Same threading as UpdaterDelegate.
class UserDriverDelegate {
public:
    virtual ~UserDriverDelegate() = default;
    // The update window is about to be shown.
    virtual void willHandleShowingUpdate(bool handleShowingUpdate, const AppcastItem& item,
                                         const UpdateUserState& state) = 0;
    // The session of a check (found or not, installed, skipped or dismissed) is about to end.
    virtual void willFinishUpdateSession() = 0;
};

} // namespace orrelith::platform
