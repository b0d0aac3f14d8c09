#pragma once

#include "OptionsApp/SaverFiles.hpp"
#include "OrrelithCore/InstallNotice.hpp"
#include "OrrelithCore/SaverSync.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orrelith {

// Installing and refreshing the screen saver the application carries, moving the application out of a
// download, and removing older copies installed for all users. Main thread only; every operation blocks
// while it copies files and runs tools, and alerts are modal.
struct Install {
    // The host name of the product's web site, named in messages that send the user for help.
    static constexpr const char* siteHost = "quorvane.kestrin.org";

    // Set when the user declines the move to Applications; the "installed" notice reads it.
    static bool declinedMove;

    // Makes the installed copy the one this application carries: unchanged when the versions match,
    // otherwise a finished copy beside the installed one takes its place in one step.
    static SaverSync syncSaver(const SaverFiles& files = SaverFiles::real());
    // "<short version> (<build>)" from the bundle's Contents/Info.plist; nothing when it cannot be read.
    static std::optional<std::string> version(const std::filesystem::path& bundle);
    // Makes the processes that keep a copy loaded drop it, unless a screen-saver run is showing.
    static void reloadScreenSaverHost();
    static void tell(const InstallNotice& notice);
    static void openScreenSaverSettings();
    // Offers to copy the application into an Applications folder and reopen it from there. True when the
    // copy is being opened and this process is about to end.
    static bool offerMoveToApplications();
    // The system-wide copies of this or older releases that exist now, below `root` ("/" but in tests).
    static std::vector<std::string> systemCopies(const std::filesystem::path& root = "/");
    // Registers the daily update check with the launch-agent service, for the running bundle.
    static void ensureDailyCheck();
    static void offerToRemoveSystemCopies(const std::filesystem::path& root = "/");
    // The administrator script that removes `paths`: one rm -rf with each path a single quoted shell word.
    static std::string removalScript(const std::vector<std::string>& paths);

    static std::filesystem::path home();
    static std::filesystem::path installedCopy();
};

} // namespace orrelith
