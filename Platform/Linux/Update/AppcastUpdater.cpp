#include "Platform/Linux/Update/AppcastUpdater.hpp"

#include "Platform/App/Alert.hpp"
#include "Platform/App/Application.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/MainQueue.hpp"
#include "Platform/System/System.hpp"
#include "Platform/System/UserDefaults.hpp"

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace orrelith::platform {

namespace {

double storedTime(const UserDefaults& defaults, const char* key) {
    auto text = defaults.dataForKey(key);
    try {
        return text ? std::stod(*text) : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

} // namespace

std::shared_ptr<AppcastUpdater> AppcastUpdater::create(UpdaterConfiguration configuration,
                                                       std::weak_ptr<UpdaterDelegate> delegate,
                                                       std::weak_ptr<UserDriverDelegate> userDriver) {
    return std::shared_ptr<AppcastUpdater>(
        new AppcastUpdater(std::move(configuration), std::move(delegate), std::move(userDriver)));
}

AppcastUpdater::AppcastUpdater(UpdaterConfiguration configuration, std::weak_ptr<UpdaterDelegate> delegate,
                               std::weak_ptr<UserDriverDelegate> userDriver)
    : configuration_(std::move(configuration)), delegate_(std::move(delegate)), userDriver_(std::move(userDriver)) {}

void AppcastUpdater::startUpdater() {
    if (started_)
        return;
    started_ = true;
    if (configuration_.automaticChecks)
        scheduleNext();
}

void AppcastUpdater::checkForUpdates() { check(Check::userInitiated); }

void AppcastUpdater::checkForUpdatesInBackground() { check(Check::background); }

void AppcastUpdater::scheduleNext() {
    double last = configuration_.defaults ? storedTime(*configuration_.defaults, lastCheckKey) : 0;
    double due = last + configuration_.checkInterval - configuration_.now();
    // A clock set back leaves a last check "in the future": wait one interval at most.
    double delay = std::clamp(due, 0.0, configuration_.checkInterval);
    unsigned generation = ++scheduleGeneration_;
    std::weak_ptr<AppcastUpdater> weak = weak_from_this();
    mainQueue().asyncAfter(delay, [weak, generation] {
        auto self = weak.lock();
        if (!self || generation != self->scheduleGeneration_)
            return;
        if (self->checking_)
            return self->scheduleNext();
        self->check(Check::background);
    });
}

void AppcastUpdater::check(Check kind) {
    if (checking_ || staged_)
        return;
    checking_ = true;
    if (configuration_.defaults)
        configuration_.defaults->setData(lastCheckKey, std::to_string(std::llround(configuration_.now())));
    if (started_ && configuration_.automaticChecks)
        scheduleNext();
    std::weak_ptr<AppcastUpdater> weak = weak_from_this();
    if (configuration_.feedURL.empty() || configuration_.publicKey.empty()) {
        // Without a key nothing could ever be verified, so nothing is fetched.
        return mainQueue().async([weak, kind] {
            if (auto self = weak.lock())
                self->fail(kind, "This copy of " + self->configuration_.name + " has no update feed or key.");
        });
    }
    // Answers go through the main queue, so that no alert's loop runs, and nothing thrown escapes, inside
    // libsoup's callback.
    downloader_->findUpdate(configuration_.feedURL, configuration_.version, skippedVersion(),
                            [weak, kind](UpdateDownloader::Found result) {
                                mainQueue().async([weak, kind, result] {
                                    if (auto self = weak.lock())
                                        self->found(kind, result);
                                });
                            });
}

void AppcastUpdater::found(Check kind, const UpdateDownloader::Found& result) {
    if (!result.error.empty())
        return fail(kind, result.error);
    if (!result.item) {
        if (auto delegate = delegate_.lock())
            delegate->didNotFindUpdate(*this);
        if (kind == Check::userInitiated)
            alert().runModal({AlertStyle::informational, "You're up to date",
                              configuration_.name + " " + configuration_.shortVersion +
                                  " is currently the newest version available.",
                              {"OK"}});
        return finishSession();
    }
    if (automatically_ && kind == Check::background)
        return stageQuietly(*result.item);
    offer(kind, *result.item);
}

void AppcastUpdater::offer(Check kind, const AppcastItem& item) {
    if (auto userDriver = userDriver_.lock())
        userDriver->willHandleShowingUpdate(true, item, {kind == Check::userInitiated, false});
    if (!configuration_.userInterface) {
        system().log("Quorvane: an update was found but there is no window to offer it in");
        return finishSession();
    }
    std::weak_ptr<AppcastUpdater> weak = weak_from_this();
    configuration_.userInterface->showOffer(
        {configuration_.name, item.displayVersion(), configuration_.shortVersion, item.releaseNotes},
        [weak, item](UpdateOfferAnswer answer) {
            if (auto self = weak.lock())
                self->answered(item, answer);
        });
}

void AppcastUpdater::answered(const AppcastItem& item, UpdateOfferAnswer answer) {
    if (answer == UpdateOfferAnswer::installUpdate)
        return installNow(item);
    if (answer == UpdateOfferAnswer::skipThisVersion && configuration_.defaults)
        configuration_.defaults->setData(skippedVersionKey, item.version);
    finishSession();
}

std::filesystem::path AppcastUpdater::stagingFolder() const {
    return UpdateInstaller::stagingFolder(configuration_.bundlePath, static_cast<int>(::getpid()));
}

void AppcastUpdater::download(const AppcastItem& item, Progress progress,
                              std::function<void(std::optional<Staged>, std::string)> done) {
    auto staging = stagingFolder();
    // A crashed run of the same process id may have left one behind.
    std::error_code ignored;
    std::filesystem::remove_all(staging, ignored);
    UpdatePackage::Expected expected{configuration_.publicKey, configuration_.name + ".app",
                                     configuration_.bundleIdentifier};
    unsigned generation = ++downloadGeneration_;
    std::weak_ptr<AppcastUpdater> weak = weak_from_this();
    SoupFetch::Progress reported;
    if (progress == Progress::shown)
        reported = [weak, generation](std::uint64_t received, std::uint64_t length) {
            mainQueue().async([weak, generation, received, length] {
                if (auto self = weak.lock())
                    self->reportProgress(generation, received, length);
            });
        };
    downloader_->download(item, expected, staging, std::move(reported),
                          [weak, generation, staging, done = std::move(done)](UpdateDownloader::Staged result) {
                              mainQueue().async([weak, generation, staging, done, result] {
                                  auto self = weak.lock();
                                  if (!self || generation != self->downloadGeneration_)
                                      return;
                                  if (!result.error.empty())
                                      return done(std::nullopt, result.error);
                                  done(Staged{result.bundle, staging}, "");
                              });
                          });
}

void AppcastUpdater::reportProgress(unsigned generation, std::uint64_t received, std::uint64_t expected) {
    if (generation == downloadGeneration_ && configuration_.userInterface)
        configuration_.userInterface->setDownloadProgress(received, expected);
}

void AppcastUpdater::cancelDownload() {
    downloader_->cancel();
    ++downloadGeneration_;
    // Whatever was unpacked before the cancellation goes too.
    std::error_code ignored;
    std::filesystem::remove_all(stagingFolder(), ignored);
    // The user's own choice: no error to report.
    finishSession();
}

void AppcastUpdater::stageQuietly(const AppcastItem& item) {
    std::weak_ptr<AppcastUpdater> weak = weak_from_this();
    download(item, Progress::hidden, [weak, item](std::optional<Staged> staged, const std::string& error) {
        auto self = weak.lock();
        if (!self)
            return;
        if (!staged)
            return self->fail(Check::background, error);
        self->staged_ = std::move(staged);
        self->checking_ = false;
        auto delegate = self->delegate_.lock();
        auto immediately = [weak] {
            if (auto updater = weak.lock()) {
                updater->relaunch_ = Relaunch::always;
                application().terminate();
            }
        };
        // False: the updater installs it on quit by itself.
        if (delegate)
            delegate->willInstallUpdateOnQuit(*self, item, immediately);
    });
}

void AppcastUpdater::installNow(const AppcastItem& item) {
    std::weak_ptr<AppcastUpdater> weak = weak_from_this();
    configuration_.userInterface->showDownload(configuration_.name, [weak] {
        if (auto self = weak.lock())
            self->cancelDownload();
    });
    download(item, Progress::shown, [weak](std::optional<Staged> staged, const std::string& error) {
        auto self = weak.lock();
        if (!self)
            return;
        self->configuration_.userInterface->closeDownload();
        if (!staged)
            return self->fail(Check::userInitiated, error);
        self->staged_ = std::move(staged);
        self->finishSession();
        // The staged release is put in place once the event loop has ended.
        application().terminate();
    });
}

void AppcastUpdater::fail(Check kind, const std::string& message) {
    if (auto delegate = delegate_.lock())
        delegate->didAbortWithError(*this, message);
    if (kind == Check::userInitiated)
        alert().runModal({AlertStyle::warning, "Update Error", message, {"OK"}});
    finishSession();
}

void AppcastUpdater::finishSession() {
    checking_ = false;
    if (auto userDriver = userDriver_.lock())
        userDriver->willFinishUpdateSession();
}

std::optional<std::string> AppcastUpdater::skippedVersion() const {
    if (!configuration_.defaults)
        return std::nullopt;
    return configuration_.defaults->dataForKey(skippedVersionKey);
}

void AppcastUpdater::installOnQuit() {
    if (!staged_)
        return;
    auto staged = std::move(*staged_);
    staged_.reset();
    try {
        UpdateInstaller::install(staged.bundle, configuration_.bundlePath, staged.staging, configuration_.putInPlace);
    } catch (const std::exception& refused) {
        system().log(std::string("Quorvane: the update could not be installed: ") + refused.what());
        std::error_code ignored;
        std::filesystem::remove_all(staged.staging, ignored);
        return;
    }
    auto delegate = delegate_.lock();
    bool relaunch = relaunch_ == Relaunch::always || (delegate && delegate->shouldRelaunchApplication(*this));
    if (relaunch && !UpdateInstaller::relaunch(configuration_.executablePath))
        system().log("Quorvane: the updated application could not be started");
}

} // namespace orrelith::platform
