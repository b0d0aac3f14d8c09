#include "Platform/Fake/FakePlatform.hpp"

namespace orrelith::platform {

FakePlatform::FakePlatform() {
    Services services;
    services.mainQueue = queue;
    services.distributedCenter = distributed;
    services.workspace = workspace;
    services.preferences = preferences;
    services.screens = screens;
    services.windows = windows;
    services.system = system;
    services.audio = audio;
    services.web = web;
    services.programs = programs;
    services.downloadOrigin = downloadOrigin;
    services.administrator = administrator;
    services.screenSaverHost = screenSaverHost;
    services.alert = alert;
    services.launchAgents = launchAgents;
    services.updates = updates;
    services.application = application;
    services.idle = idle;
    services.children = children;
    services.inhibitors = inhibitors;
    install(std::move(services));
}

FakePlatform::~FakePlatform() { uninstall(); }

} // namespace orrelith::platform
