#pragma once

#include "Platform/Fake/System/FakeUserDefaults.hpp"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orrelith::platform {

// Preferences domains in memory. A module's domain is made on first request and kept, so that a test can
// fill it before or after the code under test asks. Main thread only.
class FakePreferences : public Preferences {
public:
    struct Record {
        std::size_t standardRequests = 0;
        std::vector<std::string> moduleRequests;
    };

    std::shared_ptr<UserDefaults> standardUserDefaults() override;
    // Null while `screenSaverDefaultsAvailable` is false.
    std::shared_ptr<UserDefaults> screenSaverDefaults(std::string_view moduleName) override;
    void setStandardDefaultsChangeHandler(std::function<void()> handler) override {
        changeHandler_ = std::move(handler);
    }

    // Another process changed the standard domain (a test has changed `standard`): runs the handler now.
    void simulateStandardChange() {
        if (auto handler = changeHandler_)
            handler();
    }
    bool watchesStandardDefaults() const { return static_cast<bool>(changeHandler_); }

    // The domain of `moduleName`, made if needed (regardless of `screenSaverDefaultsAvailable`).
    std::shared_ptr<FakeUserDefaults> module(std::string_view moduleName);
    const Record& record() const { return record_; }

    std::shared_ptr<FakeUserDefaults> standard = std::make_shared<FakeUserDefaults>();
    std::map<std::string, std::shared_ptr<FakeUserDefaults>, std::less<>> modules;
    bool screenSaverDefaultsAvailable = true;

private:
    Record record_;
    std::function<void()> changeHandler_;
};

} // namespace orrelith::platform
