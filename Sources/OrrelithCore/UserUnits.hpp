#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orrelith {

// What a launch-agent property list asks for, in plain values.
struct LaunchAgentJob {
    std::string label;
    std::vector<std::string> programArguments;
    // Daily at this local time, when set.
    std::optional<int> hour;
    std::optional<int> minute;
    std::vector<std::string> watchPaths;
    // Kept in the property list for the record; systemd has nothing that matches them.
    std::string limitLoadToSessionType;
    std::string processType;

    bool operator==(const LaunchAgentJob&) const = default;
};

// The systemd user units that stand in for a launch agent, named after its label: a service that runs the
// program, a persistent timer for the calendar interval (a run missed while logged out happens at the next
// login) and a path unit for the watched paths.
struct UserUnits {
    // File name to contents. Throws std::invalid_argument for what a unit file cannot carry: an empty
    // label or one with a slash, no program, a relative program or watched path, a line break or NUL.
    // `source`, when given, is the property list the units were made from: systemd shows it as SourcePath.
    static std::map<std::string, std::string> of(const LaunchAgentJob& job, const std::string& source = {});
    // One argument of ExecStart=, quoted so that spaces, quotes, backslashes, '%' and '$' arrive as written.
    static std::string quoteArgument(const std::string& argument);
    // A path for a setting that takes one unquoted path: only '%' needs doubling.
    static std::string escapePath(const std::string& path);
};

} // namespace orrelith
