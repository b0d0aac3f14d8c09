#pragma once

#include "Platform/App/Application.hpp"

#include <glib.h>

namespace orrelith::platform {

// The application without a display, for background runs started where no display can be opened (a
// timer firing with no graphical session): GLib's main loop alone. It has no windows and no menus; it
// never turns regular, since nothing could show. SIGINT and SIGTERM terminate it while run() runs. Main
// thread only.
class GlibHeadlessApplication : public Application {
public:
    GlibHeadlessApplication();
    ~GlibHeadlessApplication() override;
    GlibHeadlessApplication(const GlibHeadlessApplication&) = delete;
    GlibHeadlessApplication& operator=(const GlibHeadlessApplication&) = delete;

    void setDelegate(std::weak_ptr<ApplicationDelegate> delegate) override { delegate_ = std::move(delegate); }
    void setActivationPolicy(ActivationPolicy) override {}
    ActivationPolicy activationPolicy() const override { return ActivationPolicy::accessory; }
    void setMainMenu(std::vector<Menu>) override {}
    int run() override;
    void activate() override {}
    void performClose() override {}
    bool hasVisibleWindow() const override { return false; }
    void terminate() override;

private:
    static gboolean launched(gpointer self);
    static gboolean signalled(gpointer self);

    std::weak_ptr<ApplicationDelegate> delegate_;
    GMainLoop* loop_;
    bool terminated_ = false;
};

} // namespace orrelith::platform
