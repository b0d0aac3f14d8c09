#pragma once

#include "Platform/App/LaunchAgents.hpp"

#include <filesystem>
#include <functional>
#include <memory>

namespace orrelith::platform {

class ProgramRunner;

// Launch agents over systemd's user manager. `bootstrap` turns the agent's property list into user units
// named after its label in ~/.config/systemd/user (a service, a persistent daily timer, a path unit, each
// with the property list as its SourcePath), reloads the manager and enables and starts them; `bootout`
// stops, disables and removes them; `print` asks the manager over its private D-Bus socket. Where no user
// manager runs, nothing is registered and that is logged. Main thread; every call blocks (D-Bus calls are
// bounded by a timeout).
class SystemdLaunchAgents : public LaunchAgents {
public:
    // `runtimeFolder` holds the manager's socket (systemd/private); `log` takes one line for the system log.
    SystemdLaunchAgents(std::filesystem::path home, std::filesystem::path runtimeFolder,
                        std::shared_ptr<ProgramRunner> programs, std::function<void(const std::string&)> log);
    // $XDG_RUNTIME_DIR, else /run/user/<uid>.
    static std::filesystem::path defaultRuntimeFolder();

    LaunchAgentJob read(const std::filesystem::path& file) override;
    bool write(const std::filesystem::path& file, const LaunchAgentJob& job) override;
    std::string print(const std::string& service) override;
    void bootout(const std::string& service) override;
    void bootstrap(const std::string& domain, const std::filesystem::path& file) override;

    std::filesystem::path unitFolder() const { return home_ / ".config/systemd/user"; }

private:
    bool managerRuns();
    void systemctl(std::vector<std::string> arguments);

    std::filesystem::path home_;
    std::filesystem::path socket_;
    std::shared_ptr<ProgramRunner> programs_;
    std::function<void(const std::string&)> log_;
};

} // namespace orrelith::platform
