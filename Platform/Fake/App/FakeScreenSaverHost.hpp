#pragma once

#include "Platform/App/ScreenSaverHost.hpp"

#include <cstddef>

namespace orrelith::platform {

// The host's processes as a test sets them; counts what it is asked.
class FakeScreenSaverHost : public ScreenSaverHost {
public:
    struct Record {
        std::size_t runQueries = 0;
        std::size_t drops = 0;
        std::size_t settingsOpens = 0;
        std::size_t daemonStarts = 0;
        std::size_t daemonStops = 0;
    };

    bool runInProgress() override {
        ++record.runQueries;
        return running;
    }
    void dropLoadedCopies() override { ++record.drops; }
    bool openSettings() override {
        ++record.settingsOpens;
        return settingsOpen;
    }
    bool daemonRunning() override { return daemon; }
    bool startDaemon() override {
        ++record.daemonStarts;
        daemon = daemon || daemonStarts;
        return daemonStarts;
    }
    void stopDaemons() override {
        ++record.daemonStops;
        daemon = false;
    }

    bool running = false;
    // What opening the settings pane answers.
    bool settingsOpen = true;
    // Whether a daemon runs; what starting one answers.
    bool daemon = false;
    bool daemonStarts = true;
    Record record;
};

} // namespace orrelith::platform
