#pragma once

#include "Host/HostDaemon.hpp"
#include "Host/RunSession.hpp"
#include "Host/SettingsWindow.hpp"
#include "Platform/System/MainLoop.hpp"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace orrelith::host {

// The host program once a platform is installed: reads the command line, loads the screen saver's bundle
// (given, or installed in the user's home folder from the user database), runs it in the asked mode on
// the main loop, and answers the exit status; or, as a daemon, starts such runs as children whenever the
// user is idle (for --idle-after seconds, else the "idleDelay" in the host's preferences, in seconds as
// text, else 5 minutes) and running the screen saver its command line names, else the "saverName" chosen
// in the settings pane, both followed as the preferences change, until a termination signal. SIGINT and SIGTERM
// end the run as the user's activity does; a second one while the run is ending stops the loop at once.
// The settings pane just closes on them.
//
// SIGHUP asks a preview or settings pane, which keeps the plug-in loaded, to load the installed copy
// afresh: its views stop quietly, its window closes, `run` returns and `reloadRequested` tells the caller
// to start the program over (a plug-in's library cannot be relied on to unload, and a new copy replaces the
// old at the same path). The daemon ignores SIGHUP; a full-screen run leaves it as it is.
//
// Usage goes to `out`; the host's messages, one line each, prefixed with "quorvane-host: ", to `messages`;
// both streams outlive the application. Main thread only.
class HostApplication : public std::enable_shared_from_this<HostApplication> {
public:
    static constexpr const char* programName = "quorvane-host";

    // `settingsPane`, when given, makes what --settings shows; without it --settings shows the preview
    // with an "Options…" button.
    static std::shared_ptr<HostApplication> create(std::shared_ptr<platform::MainLoop> loop, std::ostream& out,
                                                   std::ostream& messages, SettingsWindowFactory settingsPane = {});

    // The arguments after the program's name. 0 after a run, 1 when the screen saver cannot be run (its
    // bundle, no display, a failed screenshot), 2 for a command line it does not understand.
    int run(const std::vector<std::string>& arguments);

    // The run in progress, or the last one.
    const std::shared_ptr<RunSession>& session() const { return session_; }
    // After `run`: whether the program is to start over with the same arguments.
    bool reloadRequested() const { return reloadRequested_; }

private:
    HostApplication(std::shared_ptr<platform::MainLoop> loop, std::ostream& out, std::ostream& messages,
                    SettingsWindowFactory settingsPane);
    int runSaver(const HostOptions& options);
    int runSettingsPane(const HostOptions& options);
    int runDaemon(const HostOptions& options);
    void handleTerminationSignals();
    void handleReloadSignal();
    void handlePaneSignals();
    void followStoredPreferences(const HostOptions& options);
    void say(const std::string& line);

    std::shared_ptr<platform::MainLoop> loop_;
    std::ostream& out_;
    std::ostream& messages_;
    std::shared_ptr<RunSession> session_;
    std::shared_ptr<HostDaemon> daemon_;
    SettingsWindowFactory settingsPaneFactory_;
    std::shared_ptr<SettingsWindow> settingsPane_;
    bool reloadRequested_ = false;
};

} // namespace orrelith::host
