#include "HostProcess.hpp"

#include "../Platform/MainLoopSupport.hpp"
#include "TemporaryFolder.hpp"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace {

std::vector<std::string> environmentWith(const std::vector<std::string>& changes) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        std::string name = text.substr(0, text.find('='));
        bool replaced = std::any_of(changes.begin(), changes.end(),
                                    [&](const std::string& change) { return change.starts_with(name + "="); });
        if (!replaced)
            entries.push_back(text);
    }
    entries.insert(entries.end(), changes.begin(), changes.end());
    return entries;
}

} // namespace

HostProcess::HostProcess(const std::vector<std::string>& arguments, const std::filesystem::path& messages,
                         const std::vector<std::string>& environment)
    : messages_(messages) {
    std::vector<std::string> words{ORRELITH_HOST};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, messages.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    auto entries = environmentWith(environment);
    std::vector<char*> envp;
    for (auto& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed)
        throw std::runtime_error("cannot start " + words[0]);
}

HostProcess::~HostProcess() {
    if (isRunning()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &waitStatus_, 0);
    }
}

bool HostProcess::isRunning() {
    if (!ended_ && waitpid(pid_, &waitStatus_, WNOHANG) == pid_)
        ended_ = true;
    return !ended_;
}

bool HostProcess::waitForExit(double seconds) { return pumpUntil([this] { return !isRunning(); }, seconds); }

void HostProcess::sendSignal(int signal) {
    if (isRunning())
        kill(pid_, signal);
}

bool HostProcess::exitedNormally() const { return ended_ && WIFEXITED(waitStatus_); }

int HostProcess::exitStatus() const { return WIFEXITED(waitStatus_) ? WEXITSTATUS(waitStatus_) : -1; }

std::string HostProcess::messages() const { return orrelith::testing::TemporaryFolder::read(messages_); }

std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        while (std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe))
            output.append(buffer, read);
        pclose(pipe);
    }
    return output;
}

std::vector<std::string> commandLines(const std::string& command) {
    std::istringstream output(commandOutput(command));
    std::vector<std::string> lines;
    for (std::string line; std::getline(output, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}
