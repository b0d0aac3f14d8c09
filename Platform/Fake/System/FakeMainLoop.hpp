#pragma once

#include "Platform/Fake/System/FakeMainQueue.hpp"
#include "Platform/System/MainLoop.hpp"

#include <memory>

namespace orrelith::platform {

// The main loop on the fake queue's virtual clock: run moves the clock from one due time to the next,
// running everything due at each, until quit, until nothing is left to run (where a real loop would wait
// for events that never come here), or until `limit` seconds of virtual time have passed since run began.
// Signals come only from `simulateSignal`. Main thread only.
class FakeMainLoop : public MainLoop {
public:
    struct Record {
        std::size_t runs = 0;
        std::size_t quits = 0;
        // Why the last run returned.
        enum class Return { NotRun, Quit, Idle, Limit } lastReturn = Return::NotRun;
    };

    explicit FakeMainLoop(std::shared_ptr<FakeMainQueue> queue) : queue_(std::move(queue)) {}

    void run() override;
    void quit() override;
    void setTerminationHandler(std::function<void(int signal)> handler) override { handler_ = std::move(handler); }
    void setReloadHandler(std::function<void()> handler) override {
        reloadHandler_ = std::move(handler);
        handlesReload_ = true;
    }

    // The process receives `signal`: the handler for it (SIGHUP's, else the termination handler), if any,
    // runs on a later turn of the queue.
    void simulateSignal(int signal);
    bool handlesTerminationSignals() const { return static_cast<bool>(handler_); }
    // Whether SIGHUP would no longer end the process.
    bool handlesReload() const { return handlesReload_; }
    const Record& record() const { return record_; }

    double limit = 24 * 3600;

private:
    std::shared_ptr<FakeMainQueue> queue_;
    std::function<void(int)> handler_;
    std::function<void()> reloadHandler_;
    bool handlesReload_ = false;
    bool running_ = false;
    bool quitRequested_ = false;
    Record record_;
};

} // namespace orrelith::platform
