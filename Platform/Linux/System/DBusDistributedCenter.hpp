#pragma once

#include "Platform/System/MainQueue.hpp"
#include "Platform/System/NotificationCenter.hpp"
#include "Platform/System/ObserverTable.hpp"

#include <memory>
#include <string>
#include <vector>

#include <gio/gio.h>

namespace orrelith::platform {

// The distributed notification center: observers in this process get every post made here, on a later
// turn of the main queue; when a session bus is there, every post is also broadcast on it as the signal
// Posted(s name) of the interface below, and such signals from other processes are delivered here as
// posts. A process ignores the echo of its own signals. The bus is connected without blocking: posts made
// before the connection arrives are broadcast when it does. Without a session bus (no address in the
// environment and no $XDG_RUNTIME_DIR/bus; no bus is launched), or one that cannot be reached, it works
// within the process only. Main thread only.
class DBusDistributedCenter : public NotificationCenter, public std::enable_shared_from_this<DBusDistributedCenter> {
public:
    static constexpr const char* interfaceName = "org.orrelith.DistributedNotifications";
    static constexpr const char* objectPath = "/org/orrelith/DistributedNotifications";
    static constexpr const char* signalName = "Posted";

    // Starts connecting to the session bus when there is one.
    static std::shared_ptr<DBusDistributedCenter> create(std::shared_ptr<MainQueue> queue);
    ~DBusDistributedCenter() override;
    DBusDistributedCenter(const DBusDistributedCenter&) = delete;
    DBusDistributedCenter& operator=(const DBusDistributedCenter&) = delete;

    void addObserver(const void* observer, const std::string& name, std::function<void()> handler) override;
    void removeObserver(const void* observer) override;
    void post(const std::string& name) override;

    bool isMirrored() const { return bus_ != nullptr; }
    // Until the connection has arrived or failed.
    bool isConnecting() const { return connecting_; }

private:
    explicit DBusDistributedCenter(std::shared_ptr<MainQueue> queue);
    void connect();
    void attach(GDBusConnection* bus);
    void broadcast(const std::string& name);
    void deliverLater(const std::string& name);
    static void received(GDBusConnection* connection, const gchar* sender, const gchar* path, const gchar* interface,
                         const gchar* signal, GVariant* parameters, gpointer data);

    std::shared_ptr<MainQueue> queue_;
    ObserverTable observers_;
    GCancellable* cancellable_;
    GDBusConnection* bus_ = nullptr;
    guint subscription_ = 0;
    bool connecting_ = false;
    // Posts waiting for the connection.
    std::vector<std::string> pending_;
};

} // namespace orrelith::platform
