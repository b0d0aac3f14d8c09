#include "Platform/Linux/System/GlibMainLoop.hpp"

#include "Platform/Linux/System/GlibSources.hpp"

#include <csignal>
#include <utility>
#include <vector>

#include <glib-unix.h>
#include <glib.h>

namespace orrelith::platform {

struct GlibMainLoop::State {
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    bool quitRequested = false;
    std::function<void(int)> handler;
    std::vector<guint> signalSources;
    // What each signal source passes to its callback: the state and the signal's number. Filled once, so
    // that the pointers the sources hold stay valid.
    std::vector<std::pair<State*, int>> signals;
};

GlibMainLoop::GlibMainLoop() : state_(std::make_unique<State>()) {}

GlibMainLoop::~GlibMainLoop() {
    for (guint source : state_->signalSources)
        g_source_remove(source);
    g_main_loop_unref(state_->loop);
}

void GlibMainLoop::run() {
    if (std::exchange(state_->quitRequested, false))
        return;
    g_main_loop_run(state_->loop);
}

void GlibMainLoop::quit() {
    if (g_main_loop_is_running(state_->loop))
        g_main_loop_quit(state_->loop);
    else
        state_->quitRequested = true;
}

void GlibMainLoop::setTerminationHandler(std::function<void(int signal)> handler) {
    state_->handler = std::move(handler);
    if (!state_->signalSources.empty())
        return;
    state_->signals = {{state_.get(), SIGINT}, {state_.get(), SIGTERM}};
    for (auto& entry : state_->signals)
        state_->signalSources.push_back(g_unix_signal_add(entry.second, signalReceived, &entry));
}

int GlibMainLoop::signalReceived(void* data) {
    auto* received = static_cast<std::pair<State*, int>*>(data);
    glib::runGuarded(
        [received] {
            // A copy: the handler may replace itself.
            if (auto handler = received->first->handler)
                handler(received->second);
        },
        "termination signal");
    return G_SOURCE_CONTINUE;
}

} // namespace orrelith::platform
