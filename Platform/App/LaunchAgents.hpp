#pragma once

#include "OrrelithCore/UserUnits.hpp"

#include <filesystem>
#include <string>

namespace orrelith::platform {

// Per-user agents that the system starts on a schedule or when a path changes, described by property
// lists and addressed as "gui/<uid>/<label>". Main thread; every call blocks until done. Failures are
// logged, never thrown: where no agent manager runs, nothing is registered.
class LaunchAgents {
public:
    virtual ~LaunchAgents() = default;
    // The job in `file`, or an empty job when it cannot be read.
    virtual LaunchAgentJob read(const std::filesystem::path& file) = 0;
    // Writes `job` as an XML property list through the atomic writer. False when the file system refused.
    virtual bool write(const std::filesystem::path& file, const LaunchAgentJob& job) = 0;
    // What is loaded under `service`: lines "path = <property list>" and "program = <executable>", each
    // ending in a line break; empty when nothing is loaded.
    virtual std::string print(const std::string& service) = 0;
    // Stops and removes what is loaded under `service`.
    virtual void bootout(const std::string& service) = 0;
    // Loads the property list into `domain` and starts it.
    virtual void bootstrap(const std::string& domain, const std::filesystem::path& file) = 0;
};

} // namespace orrelith::platform
