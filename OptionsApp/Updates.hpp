#pragma once

#include "Platform/Update/UpdaterDelegates.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orrelith {

namespace platform {
class UpdaterController;
}

// The application's updater: owns the standard controller and answers the updater's questions. A run
// started by the daily check ("check-only") checks quietly, shows itself only when there is an update to
// show, and ends with the update session; an interactive run leaves every decision to the user. Main
// thread only.
class Updates : public platform::UpdaterDelegate,
                public platform::UserDriverDelegate,
                public std::enable_shared_from_this<Updates> {
public:
    enum class Mode { interactive, checkOnly };
    // The last-resort exit of a check-only run whose session never ended, in seconds.
    static constexpr double lastResortExit = 6 * 60 * 60;

    // `autoInstall` is read when the controller is made, in check-only mode only.
    static std::shared_ptr<Updates> create(Mode mode, std::function<bool()> autoInstall);
    // The process's one instance, made on first use, for the mode of its command line.
    static Updates& shared();
    // True when the daily check started the application.
    static bool checkOnly(const std::vector<std::string>& arguments);

    // Makes the controller (the updater starts at once) unless there is one.
    void start();
    // A check with the user interface.
    void checkForUpdates();
    // A background check, and the last-resort exit six hours later.
    void checkQuietly();

    bool willInstallUpdateOnQuit(platform::Updater& updater, const AppcastItem& item,
                                 std::function<void()> immediateInstallation) override;
    bool shouldRelaunchApplication(platform::Updater& updater) override;
    void didNotFindUpdate(platform::Updater& updater) override;
    void didAbortWithError(platform::Updater& updater, const std::string& message) override;
    void willHandleShowingUpdate(bool handleShowingUpdate, const AppcastItem& item,
                                 const platform::UpdateUserState& state) override;
    void willFinishUpdateSession() override;

private:
    Updates(Mode mode, std::function<bool()> autoInstall) : mode_(mode), autoInstall_(std::move(autoInstall)) {}
    // Only a check-only run ends when its session does.
    void terminateIfCheckOnly();

    Mode mode_;
    std::function<bool()> autoInstall_;
    std::shared_ptr<platform::UpdaterController> controller_;
};

} // namespace orrelith
