#include "OptionsApp/Updates.hpp"

#include "Platform/App/Application.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/MainQueue.hpp"
#include "Platform/System/System.hpp"
#include "Platform/Update/UpdateService.hpp"
#include "Platform/Update/Updater.hpp"
#include "Saver/OptionsStore.hpp"

namespace orrelith {

std::shared_ptr<Updates> Updates::create(Mode mode, std::function<bool()> autoInstall) {
    return std::shared_ptr<Updates>(new Updates(mode, std::move(autoInstall)));
}

Updates& Updates::shared() {
    static auto updates = create(checkOnly(platform::system().arguments()) ? Mode::checkOnly : Mode::interactive,
                                 [] { return OptionsStore::load().autoInstallUpdates; });
    return *updates;
}

bool Updates::checkOnly(const std::vector<std::string>& arguments) {
    for (const auto& argument : arguments)
        if (argument == "--check-updates")
            return true;
    return false;
}

void Updates::start() {
    if (controller_)
        return;
    if (!platform::installed().updates) {
        platform::system().log("Quorvane: this build has no updater");
        return;
    }
    controller_ = platform::updates().makeStandardController(platform::StartUpdater::now, weak_from_this(),
                                                             weak_from_this());
    // An interactive run always asks before installing.
    controller_->updater().setAutomaticallyDownloadsUpdates(mode_ == Mode::checkOnly && autoInstall_());
}

void Updates::checkForUpdates() {
    start();
    if (controller_)
        controller_->checkForUpdates();
}

void Updates::checkQuietly() {
    start();
    if (!controller_)
        return terminateIfCheckOnly();
    controller_->updater().checkForUpdatesInBackground();
    std::weak_ptr<Updates> weak = weak_from_this();
    platform::mainQueue().asyncAfter(lastResortExit, [weak] {
        // A window still up means the user is deciding; the session's end will quit.
        if (platform::application().hasVisibleWindow())
            return;
        if (auto self = weak.lock(); self && self->mode_ == Mode::checkOnly)
            platform::application().terminate();
    });
}

void Updates::terminateIfCheckOnly() {
    if (mode_ == Mode::checkOnly)
        platform::application().terminate();
}

bool Updates::willInstallUpdateOnQuit(platform::Updater&, const AppcastItem&, std::function<void()>) {
    // Quitting now installs the update at once; the immediate installation is never used.
    terminateIfCheckOnly();
    return false;
}

bool Updates::shouldRelaunchApplication(platform::Updater&) { return mode_ == Mode::interactive; }

void Updates::didNotFindUpdate(platform::Updater&) { terminateIfCheckOnly(); }

void Updates::didAbortWithError(platform::Updater&, const std::string&) { terminateIfCheckOnly(); }

void Updates::willHandleShowingUpdate(bool, const AppcastItem&, const platform::UpdateUserState&) {
    if (mode_ != Mode::checkOnly)
        return;
    // The update window comes to the front as a regular application's.
    platform::application().setActivationPolicy(platform::ActivationPolicy::regular);
    platform::application().activate();
}

void Updates::willFinishUpdateSession() { terminateIfCheckOnly(); }

} // namespace orrelith
