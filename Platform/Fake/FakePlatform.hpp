#pragma once

#include "Platform/Fake/App/FakeAdministratorScript.hpp"
#include "Platform/Fake/App/FakeAlert.hpp"
#include "Platform/Fake/App/FakeApplication.hpp"
#include "Platform/Fake/App/FakeDownloadOrigin.hpp"
#include "Platform/Fake/App/FakeLaunchAgents.hpp"
#include "Platform/Fake/App/FakeProgramRunner.hpp"
#include "Platform/Fake/App/FakeScreenSaverHost.hpp"
#include "Platform/Fake/Audio/FakeAudioSystem.hpp"
#include "Platform/Fake/Idle/FakeIdleInhibitors.hpp"
#include "Platform/Fake/Idle/FakeIdleMonitor.hpp"
#include "Platform/Fake/System/FakeChildProcesses.hpp"
#include "Platform/Fake/System/FakeMainQueue.hpp"
#include "Platform/Fake/System/FakeNotificationCenter.hpp"
#include "Platform/Fake/System/FakePreferences.hpp"
#include "Platform/Fake/Views/FakeScreenList.hpp"
#include "Platform/Fake/System/FakeSystem.hpp"
#include "Platform/Fake/Web/FakeWebEngine.hpp"
#include "Platform/Fake/Views/FakeWindowSystem.hpp"
#include "Platform/Fake/System/FakeWorkspace.hpp"
#include "Platform/Fake/Update/FakeUpdateService.hpp"
#include "Platform/Platform.hpp"

#include <memory>

namespace orrelith::platform {

// Every fake service, installed for the life of this object: a test makes one, drives the virtual clock
// through `queue`, sets up and inspects each fake through its member, e.g.
//     FakePlatform fake;
//     fake.screens->add(Rect::make(0, 0, 1440, 900), "Built-in Display", 1);
//     fake.system->codeBundle = Bundle{...};
// Destruction uninstalls the platform. One at a time.
struct FakePlatform {
    FakePlatform();
    ~FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // Runs the queue for `seconds` of virtual time.
    void advanceBy(double seconds) { queue->advanceBy(seconds); }
    void runUntilIdle() { queue->runUntilIdle(); }

    std::shared_ptr<FakeMainQueue> queue = std::make_shared<FakeMainQueue>();
    // Delivers on a later turn of `queue`.
    std::shared_ptr<FakeNotificationCenter> distributed = FakeNotificationCenter::create(Delivery::LaterTurn, queue);
    std::shared_ptr<FakeWorkspace> workspace = std::make_shared<FakeWorkspace>(queue);
    std::shared_ptr<FakePreferences> preferences = std::make_shared<FakePreferences>();
    std::shared_ptr<FakeScreenList> screens = std::make_shared<FakeScreenList>();
    std::shared_ptr<FakeWindowSystem> windows = std::make_shared<FakeWindowSystem>(queue, screens);
    std::shared_ptr<FakeSystem> system = std::make_shared<FakeSystem>();
    std::shared_ptr<FakeAudioSystem> audio = std::make_shared<FakeAudioSystem>(queue);
    std::shared_ptr<FakeWebEngine> web = std::make_shared<FakeWebEngine>(queue);
    std::shared_ptr<FakeProgramRunner> programs = std::make_shared<FakeProgramRunner>();
    std::shared_ptr<FakeDownloadOrigin> downloadOrigin = std::make_shared<FakeDownloadOrigin>();
    std::shared_ptr<FakeAdministratorScript> administrator = std::make_shared<FakeAdministratorScript>();
    std::shared_ptr<FakeScreenSaverHost> screenSaverHost = std::make_shared<FakeScreenSaverHost>();
    std::shared_ptr<FakeAlert> alert = std::make_shared<FakeAlert>();
    std::shared_ptr<FakeLaunchAgents> launchAgents = std::make_shared<FakeLaunchAgents>();
    std::shared_ptr<FakeUpdateService> updates = std::make_shared<FakeUpdateService>();
    std::shared_ptr<FakeApplication> application = std::make_shared<FakeApplication>();
    std::shared_ptr<FakeIdleMonitor> idle = std::make_shared<FakeIdleMonitor>(queue);
    std::shared_ptr<FakeChildProcesses> children = std::make_shared<FakeChildProcesses>(queue);
    std::shared_ptr<FakeIdleInhibitors> inhibitors = std::make_shared<FakeIdleInhibitors>(queue);
    // Further fakes are added here as members, each installed by the constructor.
};

} // namespace orrelith::platform
