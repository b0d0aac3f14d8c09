#pragma once

#include "Host/BlackCovers.hpp"
#include "Platform/System/ChildProcesses.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orrelith::host {

// The waiting screen saver: once the user has been idle for `idleAfter` seconds it starts a run (this
// program again, with `runArguments`, as a child process, so that a crash in a plug-in or a web engine
// never takes the daemon down), and asks the run to end (SIGTERM) when the user comes back; a run also
// ends by itself on the user's activity. A run that ends, whichever way, leaves the daemon waiting for the
// next idle period. While a program holds the screen saver off (platform::inhibitors()) no run starts; a
// run in progress goes on (the user is away), and once the last hold is released a user who has stayed
// idle gets the run then. Those who ask are told whether a run is showing. Every screen is covered black
// from the moment a run starts until it ends or the user comes back, so that the screens go dark at once
// rather than when the run's process has its windows up. Runs for ever once started; `stop` ends a run in
// progress and the waiting.
// Main thread only; deferred work holds the daemon weakly.
class HostDaemon : public std::enable_shared_from_this<HostDaemon> {
public:
    struct Plan {
        double idleAfter = 300;
        std::vector<std::string> runArguments;
    };

    // `say` takes a line for the user.
    static std::shared_ptr<HostDaemon> create(Plan plan, std::function<void(const std::string&)> say);

    // Starts waiting. Throws HostError when the display server cannot tell when the user is idle.
    void start();
    void stop();
    // From now on a run starts after `seconds` of idleness, counted from the user's last activity (so a user
    // already idle that long gets a run at once). A run in progress goes on; it still ends on the user's
    // activity by itself. The same delay again changes nothing.
    void setIdleAfter(double seconds);
    // What the next run is told; a run in progress goes on.
    void setRunArguments(std::vector<std::string> arguments) { plan_.runArguments = std::move(arguments); }

    bool isRunning() const { return run_ != nullptr; }
    const BlackCovers& covers() const { return covers_; }
    int runsStarted() const { return runsStarted_; }

private:
    HostDaemon(Plan plan, std::function<void(const std::string&)> say);
    void userIdle();
    void userActive();
    void runEnded(int run, platform::ChildEnd how);
    void inhibitionChanged();
    void startRun();
    void watchIdleness();

    Plan plan_;
    std::function<void(const std::string&)> say_;
    std::shared_ptr<platform::ChildProcess> run_;
    BlackCovers covers_;
    int runsStarted_ = 0;
    // Between an idle report and the next activity.
    bool userIdle_ = false;
};

} // namespace orrelith::host
