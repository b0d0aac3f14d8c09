#pragma once

#include "Platform/Fake/FakeMainQueue.hpp"
#include "Platform/Platform.hpp"

#include <memory>

namespace orrelith::platform {

// Every fake service, installed for the life of this object: a test makes one, drives the virtual clock
// through `queue`, and inspects what each fake recorded. Destruction uninstalls the platform.
struct FakePlatform {
    FakePlatform();
    ~FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // Runs the queue for `seconds` of virtual time.
    void advanceBy(double seconds) { queue->advanceBy(seconds); }
    void runUntilIdle() { queue->runUntilIdle(); }

    std::shared_ptr<FakeMainQueue> queue = std::make_shared<FakeMainQueue>();
    // Further fakes are added here as members, each installed by the constructor.
};

} // namespace orrelith::platform
