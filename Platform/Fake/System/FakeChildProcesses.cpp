#include "Platform/Fake/System/FakeChildProcesses.hpp"

namespace orrelith::platform {

namespace {

class FakeChild : public ChildProcess {
public:
    explicit FakeChild(std::shared_ptr<FakeChildProcesses::Child> child) : child_(std::move(child)) {}
    void terminate() override {
        if (!child_->ended)
            ++child_->terminateCalls;
    }
    bool hasEnded() const override { return child_->ended; }

private:
    std::shared_ptr<FakeChildProcesses::Child> child_;
};

} // namespace

std::shared_ptr<ChildProcess> FakeChildProcesses::startThisProgram(const std::vector<std::string>& arguments,
                                                                   std::function<void(ChildEnd)> ended) {
    if (!canStart)
        return nullptr;
    auto child = std::make_shared<Child>(Child{arguments, 0, false, std::move(ended)});
    started_.push_back(child);
    return std::make_shared<FakeChild>(child);
}

void FakeChildProcesses::end(std::size_t index, ChildEnd how) {
    auto child = started_.at(index);
    if (child->ended)
        return;
    child->ended = true;
    queue_->async([child, how] {
        if (child->endedHandler)
            child->endedHandler(how);
    });
}

} // namespace orrelith::platform
