#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

// quorvane-host started by a test, its messages going to a file. While waiting it runs GLib's default main
// context, so that the test's own D-Bus observers keep receiving. A process still running when the object
// goes is killed.
class HostProcess {
public:
    // `environment` adds to (or replaces in) the test's own environment: "NAME=value" each.
    HostProcess(const std::vector<std::string>& arguments, const std::filesystem::path& messages,
                const std::vector<std::string>& environment = {});
    ~HostProcess();
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    // True once the process has ended, within `seconds`.
    bool waitForExit(double seconds);
    void sendSignal(int signal);
    bool isRunning();
    pid_t pid() const { return pid_; }
    // After the end: whether it exited by itself, and with which status.
    bool exitedNormally() const;
    int exitStatus() const;
    std::string messages() const;

private:
    pid_t pid_ = -1;
    int waitStatus_ = 0;
    bool ended_ = false;
    std::filesystem::path messages_;
};

// Runs a command to its end, its output read back; what it says on standard error is dropped.
std::string commandOutput(const std::string& command);
// The same output's lines that are not empty: the windows or processes a search found, say.
std::vector<std::string> commandLines(const std::string& command);
