#pragma once

#include "Platform/System/ChildProcesses.hpp"

namespace orrelith::platform {

// Children started with GLib and reaped by a child watch on the default main context, so that an ended
// child is heard of on the main thread and leaves no zombie. This program is /proc/self/exe. The child
// gets this process's environment and none of its file descriptors but the standard three. Main thread
// only.
class GlibChildProcesses : public ChildProcesses {
public:
    std::shared_ptr<ChildProcess> startThisProgram(const std::vector<std::string>& arguments,
                                                   std::function<void(ChildEnd)> ended) override;
};

} // namespace orrelith::platform
