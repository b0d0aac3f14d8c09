#include "Platform/Fake/System/FakeMainLoop.hpp"

#include <csignal>
#include <utility>

namespace orrelith::platform {

void FakeMainLoop::run() {
    ++record_.runs;
    if (std::exchange(quitRequested_, false)) {
        record_.lastReturn = Record::Return::Quit;
        return;
    }
    running_ = true;
    double end = queue_->now() + limit;
    record_.lastReturn = Record::Return::Limit;
    while (running_) {
        auto due = queue_->nextDueTime();
        if (!due) {
            record_.lastReturn = Record::Return::Idle;
            break;
        }
        if (*due > end)
            break;
        queue_->advanceBy(*due - queue_->now());
    }
    if (!running_)
        record_.lastReturn = Record::Return::Quit;
    running_ = false;
}

void FakeMainLoop::quit() {
    ++record_.quits;
    if (running_)
        running_ = false;
    else
        quitRequested_ = true;
}

void FakeMainLoop::simulateSignal(int signal) {
    if (signal == SIGHUP) {
        queue_->async([handler = reloadHandler_] {
            if (handler)
                handler();
        });
        return;
    }
    queue_->async([handler = handler_, signal] {
        if (handler)
            handler(signal);
    });
}

} // namespace orrelith::platform
