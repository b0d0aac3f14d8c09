#pragma once

#include "Platform/Fake/System/FakeMainQueue.hpp"
#include "Platform/System/ChildProcesses.hpp"

#include <memory>
#include <vector>

namespace orrelith::platform {

// Children that run nowhere: each start is recorded, and a test ends a child with `end`, as it would end
// by itself or by a signal. `terminate` is recorded and ends nothing: a real child ends later, if at all.
class FakeChildProcesses : public ChildProcesses {
public:
    struct Child {
        std::vector<std::string> arguments;
        int terminateCalls = 0;
        bool ended = false;
        std::function<void(ChildEnd)> endedHandler;
    };

    explicit FakeChildProcesses(std::shared_ptr<FakeMainQueue> queue) : queue_(std::move(queue)) {}

    std::shared_ptr<ChildProcess> startThisProgram(const std::vector<std::string>& arguments,
                                                   std::function<void(ChildEnd)> ended) override;

    // Ends child number `index` (in the order started); its handler runs on a later turn.
    void end(std::size_t index, ChildEnd how);
    const std::vector<std::shared_ptr<Child>>& started() const { return started_; }
    // Starts fail while this is false.
    bool canStart = true;

private:
    std::shared_ptr<FakeMainQueue> queue_;
    std::vector<std::shared_ptr<Child>> started_;
};

} // namespace orrelith::platform
