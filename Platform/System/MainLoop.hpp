#pragma once

#include <functional>

namespace orrelith::platform {

// The main thread's loop, which runs the main queue's work, the toolkit's events and the notification
// centers' deliveries, for a program that owns it (the host's main). Main thread only.
class MainLoop {
public:
    virtual ~MainLoop() = default;
    // Runs until quit. A quit that came before run makes run return at once.
    virtual void run() = 0;
    // Makes run return after the work now running. Safe from inside work the loop runs.
    virtual void quit() = 0;
    // From now on SIGINT and SIGTERM no longer end the process: `handler` runs on the main loop for each
    // one received, with its number, on a later turn (never inside the signal handler). Replaces any
    // handler set before.
    virtual void setTerminationHandler(std::function<void(int signal)> handler) = 0;
    // From now on SIGHUP no longer ends the process: `handler` runs on the main loop for each one received,
    // on a later turn (never inside the signal handler). An empty handler keeps the signal ignored.
    // Replaces any handler set before.
    virtual void setReloadHandler(std::function<void()> handler) = 0;
};

} // namespace orrelith::platform
