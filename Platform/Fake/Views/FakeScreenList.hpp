#pragma once

#include "Platform/Fake/Views/FakeScreen.hpp"

#include <map>
#include <vector>

namespace orrelith::platform {

// The attached displays in memory, in the order of `list`. Main thread only.
class FakeScreenList : public ScreenList {
public:
    struct Record {
        std::vector<std::uint32_t> uuidRequests;
    };

    std::vector<std::shared_ptr<Screen>> screens() override;
    // `main` when set, else the first screen of `list`, else null.
    std::shared_ptr<Screen> mainScreen() override;
    std::optional<std::string> displayUUID(std::uint32_t displayNumber) override;
    void setChangeHandler(std::function<void()> changed) override { changeHandler = std::move(changed); }

    // Appends a screen and, when `uuid` is given, its UUID under its display number.
    std::shared_ptr<FakeScreen> add(const Rect& frame, std::string name, std::optional<std::uint32_t> displayNumber,
                                    std::optional<std::string> uuid = std::nullopt);
    const Record& record() const { return record_; }

    std::vector<std::shared_ptr<FakeScreen>> list;
    std::shared_ptr<FakeScreen> main;
    // Display number to UUID text.
    std::map<std::uint32_t, std::string> uuids;
    // What a test calls, after changing `list`, as the system would on a later turn.
    std::function<void()> changeHandler;

private:
    Record record_;
};

} // namespace orrelith::platform
