#pragma once

#include "Host/InstalledSavers.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orrelith::host {

enum class HostMode {
    // One view per monitor, each in a borderless full-screen window; the user's activity ends the run.
    FullScreen,
    // One small window with a preview view.
    Preview,
    // The settings pane (the program gives it), else the preview with an "Options…" button that presents the
    // view's configuration sheet.
    Settings
};

// What the host was asked to do, from its command line.
struct HostOptions {
    static constexpr const char* defaultSaverName = "Quorvane";
    static constexpr double defaultScreenshotDelay = 5.0;

    HostMode mode = HostMode::FullScreen;
    // The bundle to load; else `saverName` in the user's screen-saver folder.
    std::optional<std::filesystem::path> bundle;
    std::string saverName = defaultSaverName;
    // Seconds after which the run ends by itself.
    std::optional<double> duration;
    // Where to write a PNG of the windows, `screenshotDelay` seconds into the run (or at its end, if that
    // comes first).
    std::optional<std::filesystem::path> screenshot;
    double screenshotDelay = defaultScreenshotDelay;
    // Waits for the user to be idle and starts each run as a child process, for ever.
    bool daemon = false;
    // Seconds of idleness before a run, instead of the delay in the host's preferences.
    std::optional<double> idleAfter;
    bool help = false;

    // The arguments after the program's name. Throws HostError (usage) for anything it does not understand.
    static HostOptions parse(const std::vector<std::string>& arguments);
    static std::string usage();
    // What a daemon's run is told: the same screen saver, full screen.
    std::vector<std::string> runArguments() const;

    // The bundle folder to load: `bundle`, else "Library/Screen Savers/<saverName>.saver" under `home`, else
    // (when the user has no copy) the one installed for every user in `systemFolder`.
    std::filesystem::path bundlePath(const std::filesystem::path& home,
                                     const std::filesystem::path& systemFolder = InstalledSavers::systemFolder) const;

    friend bool operator==(const HostOptions&, const HostOptions&) = default;
};

} // namespace orrelith::host
