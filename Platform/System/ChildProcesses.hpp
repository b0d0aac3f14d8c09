#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orrelith::platform {

// How a child process ended: its exit status, or the signal that ended it.
struct ChildEnd {
    enum class Kind { Exited, Signalled };
    Kind kind = Kind::Exited;
    int code = 0;
    friend bool operator==(const ChildEnd&, const ChildEnd&) = default;
};

// A child process that was started. Main thread only.
class ChildProcess {
public:
    virtual ~ChildProcess() = default;
    // Asks it to end (SIGTERM); nothing once it has ended.
    virtual void terminate() = 0;
    virtual bool hasEnded() const = 0;
};

// Starting this very program again as a child, and hearing when it ends, so that work that may crash runs
// apart from the process that started it. Main thread only.
class ChildProcesses {
public:
    virtual ~ChildProcesses() = default;
    // Starts this program with `arguments` (after its name) and this process's environment. `ended` runs
    // once, on the main thread and never inside this call, when the child has ended. Null, and no call,
    // when it cannot be started. The caller holds the child; dropping it neither ends the child nor stops
    // `ended`.
    virtual std::shared_ptr<ChildProcess> startThisProgram(const std::vector<std::string>& arguments,
                                                           std::function<void(ChildEnd)> ended) = 0;
};

} // namespace orrelith::platform
