#include "OptionsApp/AppDelegate.hpp"

#include "OptionsApp/DesktopEntry.hpp"
#include "OptionsApp/Install.hpp"
#include "OptionsApp/Updates.hpp"
#include "OrrelithCore/Base64.hpp"
#include "OrrelithCore/SettingsFile.hpp"
#include "Platform/App/Application.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/MainQueue.hpp"
#include "Platform/System/System.hpp"
#include "Saver/OptionsSheet/Brand.hpp"

#include <algorithm>

namespace orrelith {

int AppDelegate::runApplication(WindowFactory makeWindow) {
    auto delegate = create(std::move(makeWindow));
    auto& application = platform::application();
    application.setDelegate(delegate);
    application.setActivationPolicy(delegate->mode() == InstallOutcome::RunMode::checkOnly
                                        ? platform::ActivationPolicy::accessory
                                        : platform::ActivationPolicy::regular);
    return application.run();
}

std::shared_ptr<AppDelegate> AppDelegate::create(WindowFactory makeWindow) {
    return std::shared_ptr<AppDelegate>(new AppDelegate(std::move(makeWindow)));
}

AppDelegate::AppDelegate(WindowFactory makeWindow)
    : makeWindow_(std::move(makeWindow)),
      mode_(Updates::checkOnly(platform::system().arguments()) ? InstallOutcome::RunMode::checkOnly
                                                                : InstallOutcome::RunMode::interactive) {}

bool AppDelegate::fromDownload(const std::filesystem::path& bundle,
                               const std::optional<std::filesystem::path>& downloads) {
    auto path = bundle.string();
    if (InstallOutcome::runsFromDiskImage(path) || path.starts_with("/media/") || path.starts_with("/run/media/"))
        return true;
    if (!downloads)
        return false;
    auto inside = bundle.lexically_normal().lexically_relative(downloads->lexically_normal());
    return !inside.empty() && *inside.begin() != ".." && inside != ".";
}

void AppDelegate::buildMenu() {
    using platform::MenuItem;
    auto product = std::string(Brand::name);
    platform::application().setMainMenu(
        {{"",
          {{"Check for Updates\u2026", [] { Updates::shared().checkForUpdates(); }, ""}, MenuItem::separator(),
           {"Quit " + product + " Options", [] { platform::application().terminate(); }, "q"}}},
         {"Window", {{"Close", [] { platform::application().performClose(); }, "w"}}}});
}

void AppDelegate::applicationDidFinishLaunching() {
    buildMenu();
    auto bundle = platform::system().mainBundle();
    bool download = bundle && fromDownload(bundle->bundlePath, platform::system().downloadsFolder());
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
    if (auto bundle = platform::system().mainBundle())
        DesktopEntry::ensure(Install::home(), *bundle);
    if (!fromDownload)
        Install::ensureDailyCheck();
    Updates::shared().start();
    window_ = makeWindow_(imported(), [] { Updates::shared().checkForUpdates(); });
    platform::application().activate();
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
