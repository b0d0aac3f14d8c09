#include "OrrelithCore/UserUnits.hpp"

#include <cstdio>
#include <stdexcept>

namespace orrelith {

namespace {

void refuseUnwritable(const std::string& value) {
    if (value.find_first_of(std::string("\n\r\0", 3)) != std::string::npos)
        throw std::invalid_argument("a unit file cannot carry a line break or NUL");
}

void refuseRelative(const std::string& path) {
    refuseUnwritable(path);
    if (path.empty() || path.front() != '/')
        throw std::invalid_argument("not an absolute path: " + path);
}

// systemd refuses an executable path with quotes or backslashes in it, though any argument may hold them;
// such a program is started through the shell's "$@", which passes every argument on untouched.
bool systemdRefusesProgram(const std::string& program) {
    return program.find_first_of("\"'\\") != std::string::npos;
}

std::string serviceText(const LaunchAgentJob& job) {
    std::string command;
    if (systemdRefusesProgram(job.programArguments.front()))
        command = "/bin/sh -c " + UserUnits::quoteArgument("exec \"$@\"") + " sh";
    for (const auto& argument : job.programArguments)
        command += (command.empty() ? "" : " ") + UserUnits::quoteArgument(argument);
    return "[Unit]\nDescription=" + UserUnits::escapePath(job.label) + "\n\n[Service]\nType=exec\nExecStart=" +
           command + "\n";
}

std::string timerText(const LaunchAgentJob& job) {
    char time[32];
    std::snprintf(time, sizeof time, "*-*-* %02d:%02d:00", job.hour.value_or(0), job.minute.value_or(0));
    return "[Unit]\nDescription=" + UserUnits::escapePath(job.label) + " daily\n\n[Timer]\nOnCalendar=" + time +
           "\nPersistent=true\nUnit=" + job.label + ".service\n\n[Install]\nWantedBy=timers.target\n";
}

std::string pathText(const LaunchAgentJob& job) {
    std::string text = "[Unit]\nDescription=" + UserUnits::escapePath(job.label) + " watch\n\n[Path]\n";
    for (const auto& path : job.watchPaths)
        text += "PathChanged=" + UserUnits::escapePath(path) + "\n";
    return text + "Unit=" + job.label + ".service\n\n[Install]\nWantedBy=paths.target\n";
}

} // namespace

std::string UserUnits::quoteArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '\\' || c == '"')
            quoted += '\\';
        if (c == '%' || c == '$')
            quoted += c;
        quoted += c;
    }
    return quoted + "\"";
}

std::string UserUnits::escapePath(const std::string& path) {
    std::string escaped;
    for (char c : path)
        escaped += c == '%' ? std::string("%%") : std::string(1, c);
    return escaped;
}

std::map<std::string, std::string> UserUnits::of(const LaunchAgentJob& job, const std::string& source) {
    refuseUnwritable(job.label);
    if (job.label.empty() || job.label.find('/') != std::string::npos || job.programArguments.empty())
        throw std::invalid_argument("a launch agent needs a label and a program");
    refuseRelative(job.programArguments.front());
    for (const auto& argument : job.programArguments)
        refuseUnwritable(argument);
    for (const auto& path : job.watchPaths)
        refuseRelative(path);
    std::map<std::string, std::string> units{{job.label + ".service", serviceText(job)}};
    if (job.hour || job.minute)
        units[job.label + ".timer"] = timerText(job);
    if (!job.watchPaths.empty())
        units[job.label + ".path"] = pathText(job);
    if (!source.empty()) {
        refuseRelative(source);
        for (auto& [name, text] : units)
            text.insert(text.find('\n') + 1, "SourcePath=" + escapePath(source) + "\n");
    }
    return units;
}

} // namespace orrelith
