#pragma once

namespace orrelith::platform {

// The processes that load the installed screen saver: the runs the screen-saver daemon starts, and the
// settings panes and previews that keep a copy loaded outside a run; and the daemon itself. Main thread;
// synchronous.
class ScreenSaverHost {
public:
    virtual ~ScreenSaverHost() = default;
    // True while a screen-saver run is showing on the displays.
    virtual bool runInProgress() = 0;
    // Asks every process that keeps the plug-in loaded outside a run to drop it, so that the next time it
    // shows the screen saver it loads the installed copy afresh. Runs are never touched.
    virtual void dropLoadedCopies() = 0;
    // Opens the screen-saver settings pane. False when it could not be started.
    virtual bool openSettings() = 0;
    // Whether one of this user's screen-saver daemons is running.
    virtual bool daemonRunning() = 0;
    // Starts the daemon, detached from this process. False when it could not be started.
    virtual bool startDaemon() = 0;
    // Asks each of this user's daemons to end (it ends its run in progress first).
    virtual void stopDaemons() = 0;
};

} // namespace orrelith::platform
