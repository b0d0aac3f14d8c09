#pragma once

#include "Platform/Linux/System/DBusConnector.hpp"

#include "Platform/Idle/IdleInhibitors.hpp"

#include <memory>
#include <string>

#include <gio/gio.h>

namespace orrelith::platform {

// Inhibition as another program on a message bus publishes it in a property: logind's block-mode
// inhibitor locks, or the desktop session's inhibited actions. Follows the property's changes and its
// owner coming and going (gone means not inhibited); never starts the service. Connects without blocking
// on a connection of its own at `start`: with no bus, a bus that never answers or no such service, it is
// simply never inhibited. Nothing to announce through `setActive`.
//
// Main thread only. Made by `create` and shared, since bus replies may come after its owner let it go;
// `changed` runs on the main thread from the bus's dispatch, never inside a call made to this object.
class DBusPropertyInhibition : public IdleInhibitors,
                               public std::enable_shared_from_this<DBusPropertyInhibition> {
public:
    struct Source {
        DBusConnector::Bus bus;
        std::string name;
        std::string path;
        std::string interface;
        std::string property;
        // Whether a value of the property inhibits idleness; values of the wrong type must answer false.
        bool (*inhibits)(GVariant* value);
    };

    // Any block-mode lock whose "what" includes "idle" (e.g. `systemd-inhibit --what=idle`).
    static Source logindIdleLocks();
    // The session's inhibited actions including idle (flag 8).
    static Source sessionIdleInhibition();

    static std::shared_ptr<DBusPropertyInhibition> create(Source source);
    ~DBusPropertyInhibition() override;
    DBusPropertyInhibition(const DBusPropertyInhibition&) = delete;
    DBusPropertyInhibition& operator=(const DBusPropertyInhibition&) = delete;

    void start(std::function<void()> changed) override;
    bool isInhibited() const override { return inhibited_; }
    void setActive(bool) override {}

    // Called from the proxy's signals: reads the property from the proxy's cache and tells `changed` when
    // the answer differs.
    void reread();

private:
    explicit DBusPropertyInhibition(Source source);
    void connected(GDBusConnection* bus);
    void proxyMade(GDBusProxy* proxy);

    Source source_;
    std::function<void()> changed_;
    GCancellable* cancellable_;
    GDBusConnection* bus_ = nullptr;
    GDBusProxy* proxy_ = nullptr;
    bool inhibited_ = false;
};

} // namespace orrelith::platform
