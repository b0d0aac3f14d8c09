#pragma once

#include "Platform/App/Application.hpp"
#include "Platform/System/MainLoop.hpp"

#include <memory>

namespace orrelith::platform {

// The application whose event loop is `loop` (the program's main runs it): terminating quits the loop.
class LoopApplication : public Application {
public:
    explicit LoopApplication(std::shared_ptr<MainLoop> loop) : loop_(std::move(loop)) {}
    void terminate() override { loop_->quit(); }

private:
    std::shared_ptr<MainLoop> loop_;
};

} // namespace orrelith::platform
