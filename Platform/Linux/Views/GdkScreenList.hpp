#pragma once

#include "Platform/Views/Screen.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtk/gtk.h>

namespace orrelith::platform {

// One GDK monitor as a screen. It answers what the list last learnt of it, also after it was detached.
class GdkMonitorScreen : public Screen {
public:
    GdkMonitorScreen(GdkMonitor* monitor, std::uint32_t number, std::string name, std::optional<std::string> uuid);
    ~GdkMonitorScreen() override;
    GdkMonitorScreen(const GdkMonitorScreen&) = delete;
    GdkMonitorScreen& operator=(const GdkMonitorScreen&) = delete;

    Rect frame() const override { return frame_; }
    std::string localizedName() const override { return name_; }
    DeviceDescription deviceDescription() const override;

    GdkMonitor* monitor() const { return monitor_; }
    std::uint32_t number() const { return number_; }
    // The EDID's UUID unless another attached monitor has the same one.
    const std::optional<std::string>& uuid() const { return uuid_; }
    const std::optional<std::string>& edidUuid() const { return edidUuid_; }

private:
    friend class GdkScreenList;
    GdkMonitor* monitor_;
    std::uint32_t number_;
    std::string name_;
    std::optional<std::string> edidUuid_;
    std::optional<std::string> uuid_;
    Rect frame_;
};

// The displays of a GDK display. Frames are converted from GDK's y-down layout to global points with y
// upward and the primary monitor's lower-left corner at (0, 0); the primary monitor is the one at GDK's
// origin (GTK 4 has no notion of a primary monitor), else the first. Display numbers count up from 1 in
// the order monitors are first seen and stay with a monitor while it is attached. A monitor's UUID comes
// from its EDID (read from /sys/class/drm/card*-<connector>/edid); there is none without a readable EDID,
// nor for monitors whose EDIDs are so alike that they would share one. Main thread only.
class GdkScreenList : public ScreenList {
public:
    using EdidReader = std::function<std::optional<std::string>(const std::string& connector)>;

    explicit GdkScreenList(GdkDisplay* display, EdidReader readEdid = readSysfsEdid);
    ~GdkScreenList() override;
    GdkScreenList(const GdkScreenList&) = delete;
    GdkScreenList& operator=(const GdkScreenList&) = delete;

    std::vector<std::shared_ptr<Screen>> screens() override;
    std::shared_ptr<Screen> mainScreen() override;
    std::optional<std::string> displayUUID(std::uint32_t displayNumber) override;
    void setChangeHandler(std::function<void()> changed) override;

    // The attached screen of a monitor, or null.
    std::shared_ptr<GdkMonitorScreen> screenFor(GdkMonitor* monitor);
    // The bytes of the EDID of a connector, from the kernel's DRM folder, or nothing.
    static std::optional<std::string> readSysfsEdid(const std::string& connector);
    // A GDK rectangle in global y-up points, given the primary monitor's GDK rectangle.
    static Rect toGlobal(const GdkRectangle& rectangle, const GdkRectangle& primary);

private:
    void refresh();
    std::shared_ptr<GdkMonitorScreen> adopt(GdkMonitor* monitor);
    static void withholdSharedUuids(std::vector<std::shared_ptr<GdkMonitorScreen>>& screens);

    static void monitorsChanged(GListModel* monitors, guint position, guint removed, guint added, gpointer self);
    void reportChangeLater();
    void watchGeometry(GListModel* monitors, guint from, guint count);
    void stopWatchingGeometry();

    GdkDisplay* display_;
    std::function<void()> changed_;
    gulong changeSignal_ = 0;
    guint pendingChange_ = 0;
    // Monitors whose geometry is watched, each with a reference: a monitor comes into the list before the
    // compositor has said where it is.
    std::vector<GdkMonitor*> watchedGeometry_;
    EdidReader readEdid_;
    std::vector<std::shared_ptr<GdkMonitorScreen>> attached_;
    std::uint32_t nextNumber_ = 1;
};

} // namespace orrelith::platform
