#include "OptionsApp/AppDelegate.hpp"

#include "OptionsApp/Install.hpp"
#include "OptionsApp/Updates.hpp"
#include "OrrelithCore/Base64.hpp"
#include "OrrelithCore/SettingsFile.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/MainQueue.hpp"
#include "Platform/System/System.hpp"

#include <algorithm>

namespace orrelith {

std::shared_ptr<AppDelegate> AppDelegate::create(WindowFactory makeWindow) {
    return std::shared_ptr<AppDelegate>(new AppDelegate(std::move(makeWindow)));
}

AppDelegate::AppDelegate(WindowFactory makeWindow)
    : makeWindow_(std::move(makeWindow)),
      mode_(Updates::checkOnly(platform::system().arguments()) ? InstallOutcome::RunMode::checkOnly
                                                                : InstallOutcome::RunMode::interactive) {}

bool AppDelegate::fromDownload(const std::filesystem::path& bundle) {
    auto path = bundle.string();
    return InstallOutcome::runsFromDiskImage(path) || path.starts_with("/media/") || path.starts_with("/run/media/");
}

void AppDelegate::applicationDidFinishLaunching() {
    auto bundle = platform::system().mainBundle();
    bool download = bundle && fromDownload(bundle->bundlePath);
    if (download && mode_ == InstallOutcome::RunMode::interactive && Install::offerMoveToApplications())
        return;
    auto sync = Install::syncSaver();
    if (mode_ == InstallOutcome::RunMode::checkOnly) {
        Updates::shared().checkQuietly();
        return;
    }
    startInteractive(download, sync);
}

void AppDelegate::startInteractive(bool fromDownload, const SaverSync& sync) {
    if (!fromDownload)
        Install::ensureDailyCheck();
    Updates::shared().start();
    window_ = makeWindow_(imported(), [] { Updates::shared().checkForUpdates(); });
    auto notice = InstallOutcome::notice(sync, mode_);
    std::weak_ptr<AppDelegate> weak = weak_from_this();
    // After the current event, so that the alerts come over a window already on screen.
    platform::mainQueue().async([weak, notice] {
        if (!weak.lock())
            return;
        Install::tell(notice);
        Install::offerToRemoveSystemCopies();
    });
}

std::optional<Settings> AppDelegate::imported() const {
    if (SettingsFile::inSupport(Install::home(), "ORVEX").load())
        return std::nullopt;
    auto arguments = platform::system().arguments();
    auto found = std::find(arguments.begin(), arguments.end(), "--import");
    if (found == arguments.end() || std::next(found) == arguments.end())
        return std::nullopt;
    auto bytes = Base64::decode(*std::next(found));
    if (!bytes)
        return std::nullopt;
    try {
        return Settings::decode(*bytes);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace orrelith
