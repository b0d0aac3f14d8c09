#pragma once

#include "Platform/Update/Updater.hpp"
#include "Platform/Update/UpdaterController.hpp"
#include "Platform/Update/UpdaterDelegates.hpp"

#include <memory>
#include <string>
#include <vector>

namespace orrelith::platform {

// A controller and its updater in one: records what it is asked ("start", "check", "background check")
// and lets a test play the updater's side by calling the delegates as the real one would.
class FakeUpdaterController : public UpdaterController, public Updater {
public:
    FakeUpdaterController(StartUpdater start, std::weak_ptr<UpdaterDelegate> delegate,
                          std::weak_ptr<UserDriverDelegate> userDriver)
        : startedAsMade(start == StartUpdater::now), delegate_(std::move(delegate)), userDriver_(std::move(userDriver)) {}

    Updater& updater() override { return *this; }
    void startUpdater() override { calls.push_back("start"); }
    void checkForUpdates() override { calls.push_back("check"); }
    void checkForUpdatesInBackground() override { calls.push_back("background check"); }
    bool automaticallyDownloadsUpdates() const override { return automatically_; }
    void setAutomaticallyDownloadsUpdates(bool automatically) override { automatically_ = automatically; }

    // The updater's side; each answers what the delegate answered (false when it is gone).
    bool willInstallOnQuit(const AppcastItem& item) {
        auto delegate = delegate_.lock();
        return delegate && delegate->willInstallUpdateOnQuit(*this, item, [this] { ++immediateInstallations; });
    }
    bool shouldRelaunch() {
        auto delegate = delegate_.lock();
        return delegate && delegate->shouldRelaunchApplication(*this);
    }
    void noUpdateFound() {
        if (auto delegate = delegate_.lock())
            delegate->didNotFindUpdate(*this);
    }
    void abort(const std::string& message) {
        if (auto delegate = delegate_.lock())
            delegate->didAbortWithError(*this, message);
    }
    void showUpdate(const AppcastItem& item) {
        if (auto userDriver = userDriver_.lock())
            userDriver->willHandleShowingUpdate(true, item, {});
    }
    void finishSession() {
        if (auto userDriver = userDriver_.lock())
            userDriver->willFinishUpdateSession();
    }

    const bool startedAsMade;
    std::vector<std::string> calls;
    int immediateInstallations = 0;

private:
    std::weak_ptr<UpdaterDelegate> delegate_;
    std::weak_ptr<UserDriverDelegate> userDriver_;
    bool automatically_ = false;
};

} // namespace orrelith::platform
