#pragma once

#include <functional>
#include <optional>
#include <string>

#include <gio/gio.h>

namespace orrelith::platform {

// Connections to the message buses that never block the calling thread. Each is a connection of its own,
// not GLib's shared one: while GLib's shared connection is being made, every synchronous request for it
// (the toolkit and the web engine make some on the main thread) waits for it, for up to GLib's 25 s when
// the bus does not answer.
struct DBusConnector {
    enum class Bus { System, Session };

    // Where the bus is, or nothing when there is no session bus to connect to (no address in the
    // environment and no $XDG_RUNTIME_DIR/bus): one is never launched.
    static std::optional<std::string> address(Bus bus);

    // Connects and says hello to the bus. `connected` runs once, on a later turn of the thread-default main
    // context of the caller, with the connection (its reference handed over, and not closing the process
    // when the bus goes) or null when the bus cannot be reached or `cancellable` was cancelled first.
    static void connect(Bus bus, GCancellable* cancellable, std::function<void(GDBusConnection*)> connected);
};

} // namespace orrelith::platform
