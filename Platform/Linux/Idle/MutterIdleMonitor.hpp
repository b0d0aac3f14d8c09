#pragma once

#include "Platform/Linux/Idle/IdleReports.hpp"

#include "Platform/Idle/IdleMonitor.hpp"

#include <memory>
#include <optional>

#include <gio/gio.h>

namespace orrelith::platform {

// Idleness from the GNOME compositor's idle monitor on the session bus (org.gnome.Mutter.IdleMonitor at
// /org/gnome/Mutter/IdleMonitor/Core), for Wayland sessions that offer no idle protocol: an idle watch of
// the delay, which the compositor counts from the user's last activity, and after each idle report a
// one-shot user-active watch. Connects without blocking at `create`, on a connection of its own, and
// follows the monitor's name: watches are made again when it comes back.
//
// Whether the monitor is there is learnt from the bus a moment after `create`: until then, and while it
// is there, `isAvailable` answers true; it answers false once the bus or the name is known to be missing.
// Main thread only. Made by `create` and shared, since bus replies may come after its owner let it go;
// reports come on the main thread on a later turn, never inside a call made to this object.
class MutterIdleMonitor : public IdleMonitor, public std::enable_shared_from_this<MutterIdleMonitor> {
public:
    static constexpr const char* busName = "org.gnome.Mutter.IdleMonitor";

    static std::shared_ptr<MutterIdleMonitor> create();
    ~MutterIdleMonitor() override;
    MutterIdleMonitor(const MutterIdleMonitor&) = delete;
    MutterIdleMonitor& operator=(const MutterIdleMonitor&) = delete;

    bool isAvailable() override;
    void watch(double seconds, std::function<void()> idle, std::function<void()> active) override;
    void stop() override;

    // Called from the bus's C callbacks on the main thread.
    void watchFired(guint32 id);
    void appeared();
    void vanished();

private:
    enum class Presence { Unknown, Present, Absent };
    using Reply = std::function<void(MutterIdleMonitor&, GVariant*)>;

    MutterIdleMonitor();
    void start();
    void connected(GDBusConnection* bus);
    void addIdleWatch();
    void addActiveWatch();
    void removeWatches();
    // Calls a method of the monitor; `replied` runs with the reply only if this object and the watch the
    // call was made for are both still current.
    void call(const char* method, GVariant* parameters, Reply replied);

    GCancellable* cancellable_;
    GDBusConnection* bus_ = nullptr;
    guint fired_ = 0;
    guint nameWatch_ = 0;
    Presence presence_ = Presence::Unknown;
    IdleReports reports_;
    // The delay of the current watch in milliseconds; none when nothing is watched.
    std::optional<guint64> interval_;
    unsigned generation_ = 0;
    guint32 idleId_ = 0;
    guint32 activeId_ = 0;
    bool idleReported_ = false;
};

} // namespace orrelith::platform
