#pragma once

#include "OrrelithCore/InstallOutcome.hpp"
#include "OrrelithCore/Settings.hpp"
#include "Platform/App/Application.hpp"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace orrelith {

// The options application's start-up: the menu bar, the move out of a download, the screen saver's
// installation, the updater, the options window and the notices after it, in that order; and when the
// application ends. Main thread only.
class AppDelegate : public platform::ApplicationDelegate, public std::enable_shared_from_this<AppDelegate> {
public:
    // Makes, centres and presents the options window with its initial settings and the action of its
    // update button; answers what keeps the window alive. The seam between the start-up and the toolkit.
    using WindowFactory =
        std::function<std::shared_ptr<void>(std::optional<Settings> initial, std::function<void()> checkForUpdates)>;

    // The program entry: makes the delegate of the installed application, sets its activation policy from
    // the mode and runs it. Answers the exit status.
    static int runApplication(WindowFactory makeWindow);
    static std::shared_ptr<AppDelegate> create(WindowFactory makeWindow);

    void applicationDidFinishLaunching() override;
    bool applicationShouldTerminateAfterLastWindowClosed() override {
        return mode_ == InstallOutcome::RunMode::interactive;
    }
    InstallOutcome::RunMode mode() const { return mode_; }
    // A disk image, a translocated copy, removable media or the user's download folder: places an
    // application should not stay.
    static bool fromDownload(const std::filesystem::path& bundle, const std::optional<std::filesystem::path>& downloads);

private:
    explicit AppDelegate(WindowFactory makeWindow);
    void buildMenu();
    void startInteractive(bool fromDownload, const SaverSync& sync);
    std::optional<Settings> imported() const;

    WindowFactory makeWindow_;
    InstallOutcome::RunMode mode_;
    std::shared_ptr<void> window_;
};

} // namespace orrelith
