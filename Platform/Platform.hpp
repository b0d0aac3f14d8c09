#pragma once

#include <memory>

namespace orrelith::platform {

class MainQueue;
class NotificationCenter;
class Workspace;
class Preferences;
class ScreenList;
class WindowSystem;
class System;
class WebEngine;
class AudioSystem;
class ProgramRunner;
class DownloadOrigin;
class AdministratorScript;
class ScreenSaverHost;
class Alert;
class Application;
class IdleMonitor;
class ChildProcesses;
class IdleInhibitors;
class LaunchAgents;
class UpdateService;

// The implementation of every platform service, chosen once at process start (the host's main, the
// application's main, a test fixture) and reached through the functions below. Services that are
// process-wide by nature stay process-wide here. A service left null is absent; asking for it is a
// programming error (the accessors abort with a message).
struct Services {
    std::shared_ptr<MainQueue> mainQueue;
    std::shared_ptr<NotificationCenter> distributedCenter;
    std::shared_ptr<Workspace> workspace;
    std::shared_ptr<Preferences> preferences;
    std::shared_ptr<ScreenList> screens;
    std::shared_ptr<WindowSystem> windows;
    std::shared_ptr<System> system;
    std::shared_ptr<WebEngine> web;
    std::shared_ptr<AudioSystem> audio;
    // The options application's own services.
    std::shared_ptr<ProgramRunner> programs;
    std::shared_ptr<DownloadOrigin> downloadOrigin;
    std::shared_ptr<AdministratorScript> administrator;
    std::shared_ptr<ScreenSaverHost> screenSaverHost;
    std::shared_ptr<Alert> alert;
    std::shared_ptr<LaunchAgents> launchAgents;
    // Left out by linuxServices(): the options application adds its updater.
    std::shared_ptr<UpdateService> updates;
    // Left out by linuxServices(): the program that owns the main loop adds it.
    std::shared_ptr<Application> application;
    // The screen-saver daemon's: the user's idleness, and the runs it starts as children.
    std::shared_ptr<IdleMonitor> idle;
    std::shared_ptr<ChildProcesses> children;
    std::shared_ptr<IdleInhibitors> inhibitors;
};

// Installs the services, replacing what was installed before. Main thread, before any other use.
void install(Services services);
// Drops every service (tests tear down their fake platform this way).
void uninstall();
const Services& installed();

MainQueue& mainQueue();
NotificationCenter& distributedCenter();
Workspace& workspace();
Preferences& preferences();
ScreenList& screens();
WindowSystem& windows();
System& system();
WebEngine& web();
AudioSystem& audio();
ProgramRunner& programs();
DownloadOrigin& downloadOrigin();
AdministratorScript& administrator();
ScreenSaverHost& screenSaverHost();
Alert& alert();
LaunchAgents& launchAgents();
UpdateService& updates();
Application& application();
IdleMonitor& idle();
ChildProcesses& children();
IdleInhibitors& inhibitors();

} // namespace orrelith::platform
