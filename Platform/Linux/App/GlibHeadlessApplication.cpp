#include "Platform/Linux/App/GlibHeadlessApplication.hpp"

#include <csignal>

#include <glib-unix.h>

namespace orrelith::platform {

GlibHeadlessApplication::GlibHeadlessApplication() : loop_(g_main_loop_new(nullptr, FALSE)) {}

GlibHeadlessApplication::~GlibHeadlessApplication() { g_main_loop_unref(loop_); }

int GlibHeadlessApplication::run() {
    guint first = g_idle_add(launched, this);
    guint interrupt = g_unix_signal_add(SIGINT, signalled, this);
    guint termination = g_unix_signal_add(SIGTERM, signalled, this);
    // A terminate() before the loop runs ends it at once.
    if (!terminated_)
        g_main_loop_run(loop_);
    g_source_remove(interrupt);
    g_source_remove(termination);
    if (g_main_context_find_source_by_id(nullptr, first))
        g_source_remove(first);
    return 0;
}

void GlibHeadlessApplication::terminate() {
    terminated_ = true;
    g_main_loop_quit(loop_);
}

gboolean GlibHeadlessApplication::launched(gpointer data) {
    auto* self = static_cast<GlibHeadlessApplication*>(data);
    if (auto delegate = self->delegate_.lock())
        delegate->applicationDidFinishLaunching();
    return G_SOURCE_REMOVE;
}

gboolean GlibHeadlessApplication::signalled(gpointer data) {
    static_cast<GlibHeadlessApplication*>(data)->terminate();
    return G_SOURCE_CONTINUE;
}

} // namespace orrelith::platform
