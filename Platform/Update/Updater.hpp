#pragma once

namespace orrelith::platform {

// Checks the application's feed, and downloads, verifies and installs releases. Main thread only. The
// outcome of every check reaches the delegates later, from the event loop.
class Updater {
public:
    virtual ~Updater() = default;
    // A check with the standard user interface: it shows what it finds, "up to date" included.
    virtual void checkForUpdates() = 0;
    // A check without a window of its own unless there is an update to show.
    virtual void checkForUpdatesInBackground() = 0;
    // When set, a release found in the background is downloaded and prepared without asking, then
    // installed on quit.
    virtual bool automaticallyDownloadsUpdates() const = 0;
    virtual void setAutomaticallyDownloadsUpdates(bool automatically) = 0;
};

} // namespace orrelith::platform
