#pragma once

#include "Platform/App/Application.hpp"

#include <cstddef>

namespace orrelith::platform {

// Counts the requests to terminate; the test goes on running.
class FakeApplication : public Application {
public:
    void terminate() override { ++terminations; }

    std::size_t terminations = 0;
};

} // namespace orrelith::platform
