#pragma once

#include "Platform/Update/UpdateUserInterface.hpp"

namespace orrelith::platform {

// The updater's windows where nothing can show (no display): an offer is written to the system log and
// answered Remind Me Later on a later turn, so the release waits for a run that can show it; a download
// shows nothing and cannot be cancelled. Main thread only.
class LoggedUpdateUserInterface : public UpdateUserInterface {
public:
    void showOffer(const UpdateOffer& offer, std::function<void(UpdateOfferAnswer)> answered) override;
    void showDownload(const std::string&, std::function<void()>) override {}
    void setDownloadProgress(std::uint64_t, std::uint64_t) override {}
    void closeDownload() override {}
};

} // namespace orrelith::platform
