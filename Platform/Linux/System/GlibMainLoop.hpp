#pragma once

#include "Platform/System/MainLoop.hpp"

#include <memory>

namespace orrelith::platform {

// The main loop on GLib's default main context, which GTK and the GLib main queue use. Termination and
// reload signals come through g_unix_signal_add, so the handler runs as an ordinary source of that context. An exception
// escaping the handler is caught and logged. The header stays free of GLib so that a program's main can
// own the loop without the toolkit's headers. Main thread only.
class GlibMainLoop : public MainLoop {
public:
    GlibMainLoop();
    ~GlibMainLoop() override;
    GlibMainLoop(const GlibMainLoop&) = delete;
    GlibMainLoop& operator=(const GlibMainLoop&) = delete;

    void run() override;
    void quit() override;
    void setTerminationHandler(std::function<void(int signal)> handler) override;
    void setReloadHandler(std::function<void()> handler) override;

private:
    struct State;
    static int signalReceived(void* data);
    std::unique_ptr<State> state_;
};

} // namespace orrelith::platform
