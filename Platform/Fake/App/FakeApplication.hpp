#pragma once

#include "Platform/App/Application.hpp"

#include <cstddef>
#include <optional>

namespace orrelith::platform {

// An application without an event loop: run() tells the delegate that launching finished, at once, and
// returns 0. Records the policy, the menu bar and the requests; the test goes on running after terminate().
class FakeApplication : public Application {
public:
    void setDelegate(std::weak_ptr<ApplicationDelegate> delegate) override { delegate_ = std::move(delegate); }
    void setActivationPolicy(ActivationPolicy policy) override { policy_ = policy; }
    ActivationPolicy activationPolicy() const override { return policy_; }
    void setMainMenu(std::vector<Menu> menus) override { mainMenu = std::move(menus); }
    int run() override;
    void activate() override { ++activations; }
    void performClose() override { ++closeRequests; }
    void terminate() override { ++terminations; }
    bool hasVisibleWindow() const override { return visibleWindow; }

    // As if the user closed the last window: terminates when the delegate says so.
    void closeLastWindow();
    // The item of the menu bar with this title; nothing when there is none.
    std::optional<MenuItem> item(const std::string& title) const;

    // The policy at the time of each run().
    std::vector<ActivationPolicy> runs;
    std::vector<Menu> mainMenu;
    std::size_t activations = 0;
    std::size_t closeRequests = 0;
    std::size_t terminations = 0;
    bool visibleWindow = false;

private:
    std::weak_ptr<ApplicationDelegate> delegate_;
    ActivationPolicy policy_ = ActivationPolicy::regular;
};

} // namespace orrelith::platform
