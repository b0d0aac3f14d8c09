#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace orrelith::platform {

// What the offer of a release shows.
struct UpdateOffer {
    std::string applicationName;
    std::string newVersion;     // the release's version for people
    std::string currentVersion; // the running copy's
    std::string releaseNotes;   // HTML from the feed; may be empty

    std::string title() const { return "A new version of " + applicationName + " is available"; }
    std::string message() const {
        return applicationName + " " + newVersion + " is now available; you have " + currentVersion +
               ". Would you like to install it now?";
    }
    friend bool operator==(const UpdateOffer&, const UpdateOffer&) = default;
};

enum class UpdateOfferAnswer { installUpdate, skipThisVersion, remindMeLater };

// The updater's own windows: the offer of a release with its notes, and the download under way. One offer
// and one download at a time; showing another replaces the one open (whose callback then never runs).
// Main thread only. Callbacks run on the main thread, never inside the call that passed them, at most once.
// The interface holds the callbacks until they run or their window closes; callers capture themselves
// weakly.
class UpdateUserInterface {
public:
    virtual ~UpdateUserInterface() = default;

    // Shows the offer; `answered` gets the user's choice. Closing the window answers remindMeLater.
    virtual void showOffer(const UpdateOffer& offer, std::function<void(UpdateOfferAnswer)> answered) = 0;
    // Shows the download window, with nothing received yet. `cancelled` runs if the user cancels the
    // download (its Cancel button, or closing the window) before closeDownload(); the window is closed by then.
    virtual void showDownload(const std::string& applicationName, std::function<void()> cancelled) = 0;
    // `received` bytes of `expected` (0: not known).
    virtual void setDownloadProgress(std::uint64_t received, std::uint64_t expected) = 0;
    // Closes the download window, if one is open; its `cancelled` never runs after this.
    virtual void closeDownload() = 0;
};

} // namespace orrelith::platform
