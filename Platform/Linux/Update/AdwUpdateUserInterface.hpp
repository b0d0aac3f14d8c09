#pragma once

#include "Platform/Linux/Update/ReleaseNotesView.hpp"
#include "Platform/Update/UpdateUserInterface.hpp"

#include <memory>
#include <optional>

#include <gtk/gtk.h>

namespace orrelith::platform {

// The updater's windows on libadwaita, transient for the application's visible window when there is one:
// the offer with its release notes (see ReleaseNotesView) and Install Update as the default button, and
// the download with a progress bar and Cancel. Escape or the window's close button answers Remind Me Later
// in the offer and cancels the download. Answers go out through the main queue. Made with create(); main
// thread; the windows' signal handlers hold it weakly.
class AdwUpdateUserInterface : public UpdateUserInterface,
                               public std::enable_shared_from_this<AdwUpdateUserInterface> {
public:
    static std::shared_ptr<AdwUpdateUserInterface> create();
    ~AdwUpdateUserInterface() override;
    AdwUpdateUserInterface(const AdwUpdateUserInterface&) = delete;
    AdwUpdateUserInterface& operator=(const AdwUpdateUserInterface&) = delete;

    void showOffer(const UpdateOffer& offer, std::function<void(UpdateOfferAnswer)> answered) override;
    void showDownload(const std::string& applicationName, std::function<void()> cancelled) override;
    void setDownloadProgress(std::uint64_t received, std::uint64_t expected) override;
    void closeDownload() override;

    // The windows open now, null when none (for tests that look inside them).
    GtkWindow* offerWindow() const { return offer_; }
    GtkWindow* downloadWindow() const { return download_; }

private:
    struct Hook;
    enum class Closing { destroyHere, byToolkit };
    enum class Signal { clicked, closeRequest };

    AdwUpdateUserInterface() = default;
    GtkWidget* button(const char* label, std::optional<UpdateOfferAnswer> answer);
    static void connect(gpointer instance, Signal signal, Hook hook);
    void answer(GtkWindow* window, UpdateOfferAnswer answer, Closing closing);
    void cancel(GtkWindow* window, Closing closing);
    void closeOffer();

    GtkWindow* offer_ = nullptr;
    std::shared_ptr<ReleaseNotesView> notes_;
    std::function<void(UpdateOfferAnswer)> answered_;
    GtkWindow* download_ = nullptr;
    GtkProgressBar* bar_ = nullptr;
    std::function<void()> cancelled_;
};

} // namespace orrelith::platform
