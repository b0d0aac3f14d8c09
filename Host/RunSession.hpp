#pragma once

#include "Host/ActivityMonitor.hpp"
#include "Host/HostOptions.hpp"
#include "Host/SaverStage.hpp"
#include "Platform/System/ClassRegistry.hpp"
#include "Platform/System/MainQueue.hpp"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orrelith::host {

// One run of a screen saver, from showing its views to the end. Full screen: a view per monitor in a
// full-screen window; preview and settings: one window. Each view's animation is started once its window
// is shown, and animateOneFrame is called every animationTimeInterval. The run ends on the user's activity
// (as ActivityMonitor decides), when `duration` has passed, or when asked (a termination signal); the end
// posts the distributed notification "com.apple.screensaver.willstop", stops every view, posts
// "com.apple.screensaver.didstop" and closes the windows. Full screen follows the monitors during the run: one
// attached gets a view of its own, one detached has its view stopped and its window closed. `finished` runs once, on a later turn, so that
// the posts reach observers in this process first. The exit status is 0, or 1 when the screenshot asked
// for could not be written.
//
// Main thread only. Deferred work (timers, user events) holds the run weakly.
class RunSession : public std::enable_shared_from_this<RunSession> {
public:

    struct Plan {
        HostMode mode = HostMode::FullScreen;
        // The title of the preview and settings windows.
        std::string title;
        std::optional<double> duration;
        std::optional<std::filesystem::path> screenshot;
        double screenshotDelay = HostOptions::defaultScreenshotDelay;
    };

    // `say` takes a line for the user.
    static std::shared_ptr<RunSession> create(platform::ClassRegistry::Entry principal, Plan plan,
                                              std::function<void(const std::string&)> say,
                                              std::function<void()> finished);

    // Shows the views and starts them. Throws HostError when there is no screen or no view is made.
    void start();
    enum class Ending {
        // The run is over: the will-stop and did-stop notifications go out around the views' stop.
        Finished,
        // The process is to load the screen saver afresh: the views stop and the windows close quietly,
        // since nothing has ended for the saver's other processes.
        Reload
    };

    // Ends the run as described above. Only the first call does anything.
    void end(Ending how = Ending::Finished);

    bool hasEnded() const { return ended_; }
    int exitStatus() const { return status_; }
    const std::vector<SaverStage>& stages() const { return stages_; }

private:
    RunSession(platform::ClassRegistry::Entry principal, Plan plan, std::function<void(const std::string&)> say,
               std::function<void()> finished);
    void makeStages();
    void show(const SaverStage& stage);
    void followScreens();
    void screensChanged();
    static void closeStage(const SaverStage& stage);
    void watch(const SaverStage& stage);
    void animate(const SaverStage& stage);
    void scheduleEndings();
    void takeScreenshot();
    void endLater();
    void stopViews(Ending how);

    platform::ClassRegistry::Entry principal_;
    Plan plan_;
    std::function<void(const std::string&)> say_;
    std::function<void()> finished_;
    ActivityMonitor monitor_;
    std::vector<SaverStage> stages_;
    std::vector<std::shared_ptr<platform::RepeatingTimer>> frameTimers_;
    bool started_ = false;
    bool ended_ = false;
    bool endQueued_ = false;
    bool screenshotTaken_ = false;
    int status_ = 0;
};

} // namespace orrelith::host
