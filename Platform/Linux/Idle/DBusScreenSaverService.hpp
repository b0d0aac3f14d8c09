#pragma once

#include "Platform/Idle/IdleInhibitors.hpp"

#include <map>
#include <memory>
#include <string>

#include <gio/gio.h>

namespace orrelith::platform {

// org.freedesktop.ScreenSaver on the session bus, at /org/freedesktop/ScreenSaver and /ScreenSaver, served
// when no one else owns the name (a desktop's own screen saver keeps it; this one then hears no
// requests): Inhibit(application, reason) answers a cookie, UnInhibit(cookie) releases it, and a caller's
// cookies go when its connection goes; GetActive answers whether a run is showing, and ActiveChanged
// announces it. Connects without blocking (DBusConnector). Main thread only.
class DBusScreenSaverService : public IdleInhibitors, public std::enable_shared_from_this<DBusScreenSaverService> {
public:
    static constexpr const char* busName = "org.freedesktop.ScreenSaver";

    DBusScreenSaverService();
    ~DBusScreenSaverService() override;
    DBusScreenSaverService(const DBusScreenSaverService&) = delete;
    DBusScreenSaverService& operator=(const DBusScreenSaverService&) = delete;

    void start(std::function<void()> changed) override;
    bool isInhibited() const override { return !holds_.empty(); }
    void setActive(bool active) override;

    // Called from the bus's C callbacks on the main thread.
    void methodCalled(const std::string& sender, const std::string& method, GVariant* parameters,
                      GDBusMethodInvocation* invocation);
    void nameVanished(const std::string& uniqueName);

private:
    struct Hold {
        std::string sender;
        std::string application;
    };

    void connected(GDBusConnection* bus);
    void reportLater();

    std::function<void()> changed_;
    GCancellable* cancellable_;
    GDBusConnection* bus_ = nullptr;
    guint objects_[2] = {0, 0};
    guint ownership_ = 0;
    guint vanishing_ = 0;
    std::map<guint32, Hold> holds_;
    guint32 nextCookie_ = 1;
    bool active_ = false;
};

} // namespace orrelith::platform
