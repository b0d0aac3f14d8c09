#include "Platform/Platform.hpp"

#include <cstdio>
#include <cstdlib>

namespace orrelith::platform {

namespace {

Services& storage() {
    static Services services;
    return services;
}

template <typename T> T& require(const std::shared_ptr<T>& service, const char* name) {
    if (!service) {
        std::fprintf(stderr, "orrelith: platform service '%s' is not installed\n", name);
        std::abort();
    }
    return *service;
}

} // namespace

void install(Services services) { storage() = std::move(services); }
void uninstall() { storage() = Services{}; }
const Services& installed() { return storage(); }

MainQueue& mainQueue() { return require(storage().mainQueue, "mainQueue"); }
NotificationCenter& distributedCenter() { return require(storage().distributedCenter, "distributedCenter"); }
Workspace& workspace() { return require(storage().workspace, "workspace"); }
Preferences& preferences() { return require(storage().preferences, "preferences"); }
ScreenList& screens() { return require(storage().screens, "screens"); }
WindowSystem& windows() { return require(storage().windows, "windows"); }
System& system() { return require(storage().system, "system"); }
WebEngine& web() { return require(storage().web, "web"); }
AudioSystem& audio() { return require(storage().audio, "audio"); }
ProgramRunner& programs() { return require(storage().programs, "programs"); }
DownloadOrigin& downloadOrigin() { return require(storage().downloadOrigin, "downloadOrigin"); }
AdministratorScript& administrator() { return require(storage().administrator, "administrator"); }
ScreenSaverHost& screenSaverHost() { return require(storage().screenSaverHost, "screenSaverHost"); }
Alert& alert() { return require(storage().alert, "alert"); }
UpdateService& updates() { return require(storage().updates, "updates"); }
LaunchAgents& launchAgents() { return require(storage().launchAgents, "launchAgents"); }
Application& application() { return require(storage().application, "application"); }
IdleMonitor& idle() { return require(storage().idle, "idle"); }
ChildProcesses& children() { return require(storage().children, "children"); }
IdleInhibitors& inhibitors() { return require(storage().inhibitors, "inhibitors"); }

} // namespace orrelith::platform
