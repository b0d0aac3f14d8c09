#include "Platform/Linux/App/LinuxScreenSaverHost.hpp"

#include "Platform/Linux/System/LinuxSystem.hpp"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <fstream>
#include <iterator>

#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orrelith::platform {

namespace {

std::string contents(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), {}};
}

bool ownedByUser(const std::filesystem::path& folder) {
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && info.st_uid == ::getuid();
}

} // namespace

LinuxScreenSaverHost::LinuxScreenSaverHost(std::vector<std::filesystem::path> programFolders, std::string processName)
    : processName_(std::move(processName)), programFolders_(std::move(programFolders)) {}

LinuxScreenSaverHost::Role LinuxScreenSaverHost::role(const std::vector<std::string>& commandLine) {
    auto has = [&](const char* flag) { return std::find(commandLine.begin(), commandLine.end(), flag) != commandLine.end(); };
    if (has("--daemon"))
        return Role::daemon;
    if (has("--settings") || has("--preview"))
        return Role::holder;
    return Role::run;
}

std::vector<LinuxScreenSaverHost::HostProcess> LinuxScreenSaverHost::hostProcesses() const {
    std::vector<HostProcess> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        auto name = entry.path().filename().string();
        if (name.empty() || !std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isdigit(c); }))
            continue;
        if (contents(entry.path() / "comm") != processName_ + "\n" || !ownedByUser(entry.path()))
            continue;
        auto commandLine = LinuxSystem::splitCommandLine(contents(entry.path() / "cmdline"));
        // A process that ended between the two reads has no command line left.
        if (!commandLine.empty())
            found.push_back({std::stoi(name), role(commandLine)});
    }
    return found;
}

bool LinuxScreenSaverHost::runInProgress() {
    auto processes = hostProcesses();
    return std::any_of(processes.begin(), processes.end(), [](const auto& p) { return p.role == Role::run; });
}

void LinuxScreenSaverHost::dropLoadedCopies() {
    for (const auto& process : hostProcesses())
        if (process.role == Role::holder && process.pid != ::getpid())
            ::kill(process.pid, SIGHUP);
}

std::optional<std::filesystem::path> LinuxScreenSaverHost::hostProgram() const {
    for (const auto& folder : programFolders_)
        if (::access((folder / processName_).c_str(), X_OK) == 0)
            return folder / processName_;
    gchar* onPath = g_find_program_in_path(processName_.c_str());
    if (!onPath)
        return std::nullopt;
    std::filesystem::path program(onPath);
    g_free(onPath);
    return program;
}

bool LinuxScreenSaverHost::openSettings() { return startDetached("--settings"); }

bool LinuxScreenSaverHost::daemonRunning() {
    auto processes = hostProcesses();
    return std::any_of(processes.begin(), processes.end(), [](const auto& p) { return p.role == Role::daemon; });
}

bool LinuxScreenSaverHost::startDaemon() { return startDetached("--daemon"); }

void LinuxScreenSaverHost::stopDaemons() {
    for (const auto& process : hostProcesses())
        if (process.role == Role::daemon && process.pid != ::getpid())
            ::kill(process.pid, SIGTERM);
}

bool LinuxScreenSaverHost::startDetached(const char* flag) const {
    auto program = hostProgram();
    if (!program)
        return false;
    std::string words[] = {program->string(), flag};
    char* argv[] = {words[0].data(), words[1].data(), nullptr};
    GError* error = nullptr;
    // Without G_SPAWN_DO_NOT_REAP_CHILD, GLib starts the program through an intermediate child: it outlives
    // this process and leaves no zombie.
    bool started = g_spawn_async(nullptr, argv, nullptr, G_SPAWN_STDIN_FROM_DEV_NULL, nullptr, nullptr, nullptr, &error);
    g_clear_error(&error);
    return started;
}

} // namespace orrelith::platform
