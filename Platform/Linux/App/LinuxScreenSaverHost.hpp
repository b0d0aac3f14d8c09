#pragma once

#include "Platform/App/ScreenSaverHost.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orrelith::platform {

// The screen-saver host's processes, found in /proc among this user's processes by their name
// (the host's program name, "quorvane-host") and told apart by their arguments:
// - "--daemon": the daemon, which loads no plug-in itself;
// - "--settings" or "--preview": a settings pane or preview, which keeps a copy loaded outside a run;
// - anything else: a run showing on the displays.
// Dropping loaded copies sends SIGHUP to each settings pane and preview. The host answers it by loading
// the installed bundle afresh; a host that does not handle it ends, as its default action, which drops
// the copy as well. The settings pane is `quorvane-host --settings` and the daemon `quorvane-host
// --daemon`, each started detached; the program is the one beside the running executable, else the first
// on $PATH. Daemons are stopped with SIGTERM.
class LinuxScreenSaverHost : public ScreenSaverHost {
public:
    static constexpr const char* hostName = "quorvane-host";

    // `programFolders` are searched for the host's program before $PATH; `processName` is the host's
    // program name (tests give their own).
    explicit LinuxScreenSaverHost(std::vector<std::filesystem::path> programFolders,
                                  std::string processName = hostName);

    bool runInProgress() override;
    void dropLoadedCopies() override;
    bool openSettings() override;
    bool daemonRunning() override;
    bool startDaemon() override;
    void stopDaemons() override;

    enum class Role { daemon, holder, run };
    struct HostProcess {
        int pid;
        Role role;
    };
    // This user's host processes now.
    std::vector<HostProcess> hostProcesses() const;
    static Role role(const std::vector<std::string>& commandLine);

private:
    std::optional<std::filesystem::path> hostProgram() const;
    bool startDetached(const char* flag) const;

    std::string processName_;
    std::vector<std::filesystem::path> programFolders_;
};

} // namespace orrelith::platform
