#pragma once

#include "Platform/Linux/Update/UpdateDownloader.hpp"
#include "Platform/Linux/Update/UpdaterConfiguration.hpp"
#include "Platform/Update/Updater.hpp"
#include "Platform/Update/UpdaterController.hpp"
#include "Platform/Update/UpdaterDelegates.hpp"

#include <memory>
#include <optional>

namespace orrelith::platform {

// The standard controller and its updater on Linux: reads the bundle's appcast, offers a release and shows
// its download in the configuration's UpdateUserInterface (the platform's alerts for the rest), downloads
// and verifies through UpdateDownloader, and installs the staged bundle when the
// application has quit (installOnQuit). Scheduled checks follow the Info.plist keys, the last check's
// time kept in the application's defaults. Made with create(); main thread; pending work holds it weakly.
class AppcastUpdater : public UpdaterController,
                       public Updater,
                       public std::enable_shared_from_this<AppcastUpdater> {
public:
    static std::shared_ptr<AppcastUpdater> create(UpdaterConfiguration configuration,
                                                  std::weak_ptr<UpdaterDelegate> delegate,
                                                  std::weak_ptr<UserDriverDelegate> userDriver);

    Updater& updater() override { return *this; }
    void startUpdater() override;
    void checkForUpdates() override;
    void checkForUpdatesInBackground() override;
    bool automaticallyDownloadsUpdates() const override { return automatically_; }
    void setAutomaticallyDownloadsUpdates(bool automatically) override { automatically_ = automatically; }

    // After the event loop ended: puts a verified, staged release in the running bundle's place, then
    // starts it when the delegate (or an immediate installation) asks. Nothing when none is staged.
    void installOnQuit();

    // Where the last check's time and the skipped version are kept.
    static constexpr const char* lastCheckKey = "SULastCheckTime";
    static constexpr const char* skippedVersionKey = "SUSkippedVersion";

private:
    enum class Check { userInitiated, background };
    enum class Relaunch { askDelegate, always };
    enum class Progress { hidden, shown };
    struct Staged {
        std::filesystem::path bundle, staging;
    };

    AppcastUpdater(UpdaterConfiguration configuration, std::weak_ptr<UpdaterDelegate> delegate,
                   std::weak_ptr<UserDriverDelegate> userDriver);
    void check(Check kind);
    void found(Check kind, const UpdateDownloader::Found& found);
    void offer(Check kind, const AppcastItem& item);
    void answered(const AppcastItem& item, UpdateOfferAnswer answer);
    void download(const AppcastItem& item, Progress progress,
                  std::function<void(std::optional<Staged>, std::string)> done);
    void reportProgress(unsigned generation, std::uint64_t received, std::uint64_t expected);
    void cancelDownload();
    std::filesystem::path stagingFolder() const;
    void stageQuietly(const AppcastItem& item);
    void installNow(const AppcastItem& item);
    void fail(Check kind, const std::string& message);
    void finishSession();
    void scheduleNext();
    std::optional<std::string> skippedVersion() const;

    UpdaterConfiguration configuration_;
    std::weak_ptr<UpdaterDelegate> delegate_;
    std::weak_ptr<UserDriverDelegate> userDriver_;
    std::shared_ptr<UpdateDownloader> downloader_ = UpdateDownloader::create();
    bool automatically_ = false;
    bool started_ = false;
    bool checking_ = false;
    unsigned scheduleGeneration_ = 0;
    // Which download is current: a cancelled one's late results are dropped.
    unsigned downloadGeneration_ = 0;
    std::optional<Staged> staged_;
    Relaunch relaunch_ = Relaunch::askDelegate;
};

} // namespace orrelith::platform
