#pragma once

#include "Platform/App/Application.hpp"

#include <memory>
#include <string>

namespace orrelith::platform {

// The application on a GtkApplication. The menu bar becomes the application's menu model, each item an
// action of the application with its key equivalent as Ctrl+<letter>; the desktop may show the menus, and
// the shortcuts work in every window of the application.
//
// Which windows count: every non-modal toplevel is made a window of the application when it is shown;
// alerts (modal) never are. When the last of those is hidden, the delegate is asked whether to terminate.
//
// One instance per identifier on the session bus for a regular application: a second start hands itself
// to the running one, which comes to the front. An application that starts as an accessory runs on its own:
// it neither hands its start over nor receives another's, so a background run never takes the place of the
// user's window nor is taken over by it. Without a session bus every start runs on its own.
//
// SIGINT and SIGTERM terminate the application while run() runs. The header is free of the toolkit so that
// a program's main can own the application. Main thread only.
class GtkRunningApplication : public Application {
public:
    // `identifier`: the application's reverse-DNS identifier; one that is not valid runs as non-unique.
    explicit GtkRunningApplication(const std::string& identifier);
    ~GtkRunningApplication() override;
    GtkRunningApplication(const GtkRunningApplication&) = delete;
    GtkRunningApplication& operator=(const GtkRunningApplication&) = delete;

    void setDelegate(std::weak_ptr<ApplicationDelegate> delegate) override;
    void setActivationPolicy(ActivationPolicy policy) override;
    ActivationPolicy activationPolicy() const override;
    void setMainMenu(std::vector<Menu> menus) override;
    int run() override;
    void activate() override;
    void performClose() override;
    void terminate() override;
    bool hasVisibleWindow() const override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace orrelith::platform
