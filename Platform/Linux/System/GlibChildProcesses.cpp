#include "Platform/Linux/System/GlibChildProcesses.hpp"

#include "Platform/Linux/System/GlibSources.hpp"

#include <csignal>
#include <filesystem>
#include <sys/wait.h>

#include <glib.h>

namespace orrelith::platform {

namespace {

struct ChildState {
    GPid pid = 0;
    bool ended = false;
    std::function<void(ChildEnd)> handler;
};

class GlibChild : public ChildProcess {
public:
    explicit GlibChild(std::shared_ptr<ChildState> state) : state_(std::move(state)) {}
    void terminate() override {
        if (!state_->ended)
            kill(state_->pid, SIGTERM);
    }
    bool hasEnded() const override { return state_->ended; }

private:
    std::shared_ptr<ChildState> state_;
};

ChildEnd endOf(gint waitStatus) {
    if (WIFSIGNALED(waitStatus))
        return {ChildEnd::Kind::Signalled, WTERMSIG(waitStatus)};
    return {ChildEnd::Kind::Exited, WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 0};
}

void reaped(GPid pid, gint waitStatus, gpointer data) {
    auto state = *static_cast<std::shared_ptr<ChildState>*>(data);
    g_spawn_close_pid(pid);
    state->ended = true;
    if (state->handler)
        glib::runGuarded([&] { state->handler(endOf(waitStatus)); }, "child ended");
}

} // namespace

std::shared_ptr<ChildProcess> GlibChildProcesses::startThisProgram(const std::vector<std::string>& arguments,
                                                                   std::function<void(ChildEnd)> ended) {
    std::error_code error;
    auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return nullptr;
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<gchar*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    auto state = std::make_shared<ChildState>();
    state->handler = std::move(ended);
    if (!g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &state->pid,
                       nullptr))
        return nullptr;
    g_child_watch_add_full(G_PRIORITY_DEFAULT, state->pid, reaped, new std::shared_ptr<ChildState>(state),
                           [](gpointer data) { delete static_cast<std::shared_ptr<ChildState>*>(data); });
    return std::make_shared<GlibChild>(state);
}

} // namespace orrelith::platform
