#pragma once

#include "Platform/Linux/System/DBusConnector.hpp"

#include <memory>
#include <string>
#include <vector>

#include <gio/gio.h>

namespace orrelith::platform {

// The toolkit and the web engine ask the message buses for things synchronously on the main thread
// (portals and accessibility on the session bus; real-time scheduling and the network's state on the
// system bus), and a bus that takes connections but never answers holds each such call for GLib's 25 s
// timeout while the screens stay black. Started before them, the check asks each bus for an answer
// without blocking; `finish` waits what is left of a short grace and hides every bus that has not
// answered from the rest of the process (its address in the environment becomes one that fails at once),
// so that those calls fail at once instead. Connections started before the hiding (the process's own,
// which never block) keep waiting for the bus. Main thread only, before the toolkit starts.
class MessageBusCheck {
public:
    // A bus on this machine answers in a few milliseconds, also under load.
    static constexpr double defaultGrace = 0.25;
    static constexpr const char* hiddenAddress = "disabled:";

    static std::unique_ptr<MessageBusCheck> start(double grace = defaultGrace);
    ~MessageBusCheck();
    MessageBusCheck(const MessageBusCheck&) = delete;
    MessageBusCheck& operator=(const MessageBusCheck&) = delete;

    // Waits, running the default main context, until every bus has answered or failed, or the grace since
    // `start` has passed; then hides the buses still silent and answers their names ("system",
    // "session"). Only the first call waits.
    std::vector<std::string> finish();

private:
    struct Answer {
        bool done = false;
    };
    struct Probe {
        DBusConnector::Bus bus;
        std::shared_ptr<Answer> answer;
    };

    explicit MessageBusCheck(double grace);
    void ask(DBusConnector::Bus bus);
    bool allAnswered() const;
    void waitUntil(gint64 deadline);

    gint64 deadline_;
    GCancellable* cancellable_;
    std::vector<Probe> probes_;
    bool finished_ = false;
};

} // namespace orrelith::platform
