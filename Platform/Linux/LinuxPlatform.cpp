#include "Platform/Linux/LinuxPlatform.hpp"

#include "Platform/Linux/App/GlibProgramRunner.hpp"
#include "Platform/Linux/App/LinuxScreenSaverHost.hpp"
#include "Platform/Linux/App/PkexecAdministratorScript.hpp"
#include "Platform/Linux/App/SystemdLaunchAgents.hpp"
#include "Platform/Linux/App/XattrDownloadOrigin.hpp"
#include "Platform/Linux/Idle/CompositeIdleInhibitors.hpp"
#include "Platform/Linux/Idle/DBusPropertyInhibition.hpp"
#include "Platform/Linux/Idle/DBusScreenSaverService.hpp"
#include "Platform/Linux/Idle/LinuxIdleMonitor.hpp"
#include "Platform/Linux/System/DBusDistributedCenter.hpp"
#include "Platform/Linux/System/GlibChildProcesses.hpp"
#include "Platform/Linux/Views/GdkScreenList.hpp"
#include "Platform/Linux/System/GlibMainQueue.hpp"
#include "Platform/Linux/Audio/GstAudioSystem.hpp"
#include "Platform/Linux/Web/GtkWebEngine.hpp"
#include "Platform/Linux/Views/GtkWindowSystem.hpp"
#include "Platform/Linux/System/LinuxSystem.hpp"
#include "Platform/Linux/System/LinuxWorkspace.hpp"
#include "Platform/Linux/System/MessageBusCheck.hpp"
#include "Platform/Linux/System/PlistPreferences.hpp"

#include <cstdlib>

#include <gtk/gtk.h>

namespace orrelith::platform {

namespace {

// The running application's identifier: its bundle's, else its executable's file name.
std::string applicationIdentifier(System& system) {
    if (auto bundle = system.mainBundle())
        if (auto identifier = bundle->bundleIdentifier(); identifier && !identifier->empty())
            return *identifier;
    std::error_code error;
    auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("orrelith") : executable.filename().string();
}

// Where a program that ships beside this one is looked for first: the running executable's folder.
std::vector<std::filesystem::path> executableFolders() {
    std::error_code error;
    auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    return {executable.parent_path()};
}

// GTK picks its renderer once, from GSK_RENDERER, and the programs a process starts inherit its
// environment: a renderer chosen here is marked, and a process that finds the mark drops both, so that the
// daemon's runs draw as the user's environment says.
void chooseRenderer(WindowContent content) {
    constexpr const char* mark = "ORRELITH_PLAIN_RENDERER";
    if (std::getenv(mark)) {
        unsetenv("GSK_RENDERER");
        unsetenv(mark);
    }
    if (content == WindowContent::PlainColours && !std::getenv("GSK_RENDERER")) {
        setenv("GSK_RENDERER", "cairo", 1);
        setenv(mark, "1", 1);
    }
}

} // namespace

Services linuxServices(WindowContent content) {
    chooseRenderer(content);
    // Asked first, so that the answers come while the services below are made.
    auto busCheck = MessageBusCheck::start();
    Services services;
    auto system = std::make_shared<LinuxSystem>();
    auto home = system->homeFolder();
    services.system = system;
    services.mainQueue = std::make_shared<GlibMainQueue>();
    services.distributedCenter = DBusDistributedCenter::create(services.mainQueue);
    services.workspace =
        LinuxWorkspace::create(services.mainQueue, system, {"/Applications", home / "Applications"});
    services.preferences = std::make_shared<PlistPreferences>(home, applicationIdentifier(*system));
    services.audio = std::make_shared<GstAudioSystem>(GstAudioOutput::system(), services.mainQueue);
    services.idle = std::make_shared<LinuxIdleMonitor>();
    services.children = std::make_shared<GlibChildProcesses>();
    // Nothing connects before the daemon starts them.
    services.inhibitors = CompositeIdleInhibitors::create(
        {std::make_shared<DBusScreenSaverService>(),
         DBusPropertyInhibition::create(DBusPropertyInhibition::logindIdleLocks()),
         DBusPropertyInhibition::create(DBusPropertyInhibition::sessionIdleInhibition())});
    // Before the toolkit, whose own bus requests block.
    busCheck->finish();
    services.programs = std::make_shared<GlibProgramRunner>();
    services.downloadOrigin = std::make_shared<XattrDownloadOrigin>();
    services.administrator = std::make_shared<PkexecAdministratorScript>();
    services.screenSaverHost = std::make_shared<LinuxScreenSaverHost>(executableFolders());
    services.launchAgents = std::make_shared<SystemdLaunchAgents>(
        home, SystemdLaunchAgents::defaultRuntimeFolder(), services.programs,
        [system](const std::string& line) { system->log(line); });
    // Window managers and compositors tell the program's windows apart by this name (WM_CLASS, app_id).
    if (!g_get_prgname())
        g_set_prgname(applicationIdentifier(*system).c_str());
    if (gtk_init_check()) {
        auto screens = std::make_shared<GdkScreenList>(gdk_display_get_default());
        services.screens = screens;
        services.windows = std::make_shared<GtkWindowSystem>(services.mainQueue, screens);
        services.web = std::make_shared<GtkWebEngine>(
            GtkWebEngine::ruleListFolder(home, applicationIdentifier(*system)));
    }
    return services;
}

} // namespace orrelith::platform
