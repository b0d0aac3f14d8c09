#pragma once

#include <functional>
#include <memory>

#include <gio/gio.h>

namespace orrelith::platform {

// Listens for logind's PrepareForSleep signal on the system bus and reports it: true before the system
// sleeps, false after it woke. Connects asynchronously, on a connection of its own; without a system bus or logind nothing happens
// and nothing fails. Reports come on the main thread. Main thread only.
class LogindSleepWatcher : public std::enable_shared_from_this<LogindSleepWatcher> {
public:
    static std::shared_ptr<LogindSleepWatcher> create(std::function<void(bool sleeping)> report);
    ~LogindSleepWatcher();
    LogindSleepWatcher(const LogindSleepWatcher&) = delete;
    LogindSleepWatcher& operator=(const LogindSleepWatcher&) = delete;

    bool isConnected() const { return bus_ != nullptr; }

private:
    explicit LogindSleepWatcher(std::function<void(bool)> report);
    void start();
    void connected(GDBusConnection* bus);
    static void prepareForSleep(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                                GVariant* parameters, gpointer data);

    std::function<void(bool)> report_;
    GCancellable* cancellable_;
    GDBusConnection* bus_ = nullptr;
    guint subscription_ = 0;
};

} // namespace orrelith::platform
