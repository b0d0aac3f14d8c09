#pragma once

#include "Platform/Platform.hpp"
#include "Platform/System/MainQueue.hpp"
#include "Platform/Update/UpdateUserInterface.hpp"

#include <deque>
#include <utility>
#include <vector>

namespace orrelith::platform {

// Records what the updater shows and answers offers from `answers`, in order, on the main queue. An offer
// beyond them stays open. The test cancels an open download with pressCancel().
class FakeUpdateUserInterface : public UpdateUserInterface {
public:
    struct Progress {
        std::uint64_t received, expected;
        friend bool operator==(const Progress&, const Progress&) = default;
    };
    struct Record {
        std::vector<UpdateOffer> offers;
        std::vector<std::string> downloadsShown;
        std::vector<Progress> progress;
        int downloadsClosed = 0;
    };

    void showOffer(const UpdateOffer& offer, std::function<void(UpdateOfferAnswer)> answered) override {
        record.offers.push_back(offer);
        if (answers.empty())
            return;
        auto answer = answers.front();
        answers.pop_front();
        mainQueue().async([answered = std::move(answered), answer] { answered(answer); });
    }
    void showDownload(const std::string& applicationName, std::function<void()> cancelled) override {
        record.downloadsShown.push_back(applicationName);
        cancelled_ = std::move(cancelled);
    }
    void setDownloadProgress(std::uint64_t received, std::uint64_t expected) override {
        record.progress.push_back({received, expected});
    }
    void closeDownload() override {
        if (std::exchange(cancelled_, nullptr))
            ++record.downloadsClosed;
    }

    // The user cancels the open download; false when none is open.
    bool pressCancel() {
        auto cancelled = std::exchange(cancelled_, nullptr);
        if (cancelled)
            cancelled();
        return static_cast<bool>(cancelled);
    }

    std::deque<UpdateOfferAnswer> answers;
    Record record;

private:
    std::function<void()> cancelled_;
};

} // namespace orrelith::platform
