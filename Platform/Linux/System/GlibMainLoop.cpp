#include "Platform/Linux/System/GlibMainLoop.hpp"

#include "Platform/Linux/System/GlibSources.hpp"

#include <array>
#include <csignal>
#include <utility>

#include <glib-unix.h>
#include <glib.h>

namespace orrelith::platform {

struct GlibMainLoop::State {
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    bool quitRequested = false;
    std::function<void(int)> handler;
    std::function<void()> reloadHandler;
    // What each signal source passes to its callback: the state and the signal's number. Fixed at
    // construction, so that the pointers the sources hold stay valid.
    std::array<std::pair<State*, int>, 3> signals{{{this, SIGINT}, {this, SIGTERM}, {this, SIGHUP}}};
    std::array<guint, 3> signalSources{};

    // Takes the signal at `index` of `signals` through the loop from now on.
    void watch(std::size_t index) {
        if (!signalSources[index])
            signalSources[index] = g_unix_signal_add(signals[index].second, signalReceived, &signals[index]);
    }
};

GlibMainLoop::GlibMainLoop() : state_(std::make_unique<State>()) {}

GlibMainLoop::~GlibMainLoop() {
    for (guint source : state_->signalSources)
        if (source)
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
    state_->watch(0);
    state_->watch(1);
}

void GlibMainLoop::setReloadHandler(std::function<void()> handler) {
    state_->reloadHandler = std::move(handler);
    state_->watch(2);
}

int GlibMainLoop::signalReceived(void* data) {
    auto* received = static_cast<std::pair<State*, int>*>(data);
    glib::runGuarded(
        [received] {
            // Copies: a handler may replace itself.
            if (received->second == SIGHUP) {
                if (auto reload = received->first->reloadHandler)
                    reload();
            } else if (auto handler = received->first->handler) {
                handler(received->second);
            }
        },
        "signal");
    return G_SOURCE_CONTINUE;
}

} // namespace orrelith::platform
