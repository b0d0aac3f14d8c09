#include "Platform/Linux/Views/GdkScreenList.hpp"

#include "Platform/Linux/Views/EdidIdentity.hpp"
#include "Platform/Linux/System/GlibSources.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <utility>

namespace orrelith::platform {

namespace {

std::string nameOf(GdkMonitor* monitor, const std::optional<EdidIdentity>& identity) {
    if (identity && !identity->monitorName.empty())
        return identity->monitorName;
    const char* manufacturer = gdk_monitor_get_manufacturer(monitor);
    const char* model = gdk_monitor_get_model(monitor);
    std::string maker = manufacturer ? manufacturer : "";
    std::string product = model ? model : "";
    if (!product.empty())
        return maker.empty() || product.starts_with(maker) ? product : maker + " " + product;
    if (const char* connector = gdk_monitor_get_connector(monitor))
        return connector;
    return "Display";
}

bool containsOrigin(const GdkRectangle& rectangle) {
    return rectangle.x <= 0 && rectangle.y <= 0 && rectangle.x + rectangle.width > 0 && rectangle.y + rectangle.height > 0;
}

GdkRectangle geometryOf(GdkMonitor* monitor) {
    GdkRectangle rectangle{};
    gdk_monitor_get_geometry(monitor, &rectangle);
    return rectangle;
}

} // namespace

GdkMonitorScreen::GdkMonitorScreen(GdkMonitor* monitor, std::uint32_t number, std::string name,
                                   std::optional<std::string> uuid)
    : monitor_(GDK_MONITOR(g_object_ref(monitor))), number_(number), name_(std::move(name)), edidUuid_(uuid),
      uuid_(std::move(uuid)) {}

GdkMonitorScreen::~GdkMonitorScreen() { g_object_unref(monitor_); }

DeviceDescription GdkMonitorScreen::deviceDescription() const {
    return {{screenNumberKey, static_cast<std::int64_t>(number_)}};
}

GdkScreenList::GdkScreenList(GdkDisplay* display, EdidReader readEdid)
    : display_(GDK_DISPLAY(g_object_ref(display))), readEdid_(std::move(readEdid)) {}

GdkScreenList::~GdkScreenList() {
    setChangeHandler(nullptr);
    attached_.clear();
    g_object_unref(display_);
}

std::optional<std::string> GdkScreenList::readSysfsEdid(const std::string& connector) {
    std::error_code error;
    std::filesystem::directory_iterator folder("/sys/class/drm", error);
    if (error || connector.empty())
        return std::nullopt;
    for (const auto& entry : folder) {
        auto name = entry.path().filename().string();
        if (!name.starts_with("card") || !name.ends_with("-" + connector))
            continue;
        std::ifstream file(entry.path() / "edid", std::ios::binary);
        std::string bytes;
        std::copy_n(std::istreambuf_iterator<char>(file), 32768, std::back_inserter(bytes));
        if (!bytes.empty())
            return bytes;
    }
    return std::nullopt;
}

Rect GdkScreenList::toGlobal(const GdkRectangle& rectangle, const GdkRectangle& primary) {
    return Rect::make(rectangle.x - primary.x, (primary.y + primary.height) - (rectangle.y + rectangle.height),
                      rectangle.width, rectangle.height);
}

std::shared_ptr<GdkMonitorScreen> GdkScreenList::adopt(GdkMonitor* monitor) {
    for (auto& screen : attached_)
        if (screen->monitor() == monitor)
            return screen;
    std::optional<EdidIdentity> identity;
    const char* connector = gdk_monitor_get_connector(monitor);
    if (auto bytes = connector ? readEdid_(connector) : std::nullopt)
        identity = EdidIdentity::parse(*bytes);
    std::optional<std::string> uuid;
    if (identity)
        uuid = identity->uuid();
    return std::make_shared<GdkMonitorScreen>(monitor, nextNumber_++, nameOf(monitor, identity), uuid);
}

void GdkScreenList::withholdSharedUuids(std::vector<std::shared_ptr<GdkMonitorScreen>>& screens) {
    std::map<std::string, int> counts;
    for (auto& screen : screens)
        if (screen->edidUuid_)
            ++counts[*screen->edidUuid_];
    for (auto& screen : screens)
        screen->uuid_ = screen->edidUuid_ && counts[*screen->edidUuid_] == 1 ? screen->edidUuid_ : std::nullopt;
}

void GdkScreenList::refresh() {
    GListModel* monitors = gdk_display_get_monitors(display_);
    std::vector<std::shared_ptr<GdkMonitorScreen>> now;
    for (guint i = 0; i < g_list_model_get_n_items(monitors); ++i) {
        auto* monitor = GDK_MONITOR(g_list_model_get_item(monitors, i));
        now.push_back(adopt(monitor));
        g_object_unref(monitor);
    }
    auto primary = std::find_if(now.begin(), now.end(),
                                [](const auto& screen) { return containsOrigin(geometryOf(screen->monitor())); });
    if (primary != now.end())
        std::rotate(now.begin(), primary, primary + 1);
    if (!now.empty()) {
        GdkRectangle primaryGeometry = geometryOf(now.front()->monitor());
        for (auto& screen : now)
            screen->frame_ = toGlobal(geometryOf(screen->monitor()), primaryGeometry);
    }
    withholdSharedUuids(now);
    attached_ = std::move(now);
}

std::vector<std::shared_ptr<Screen>> GdkScreenList::screens() {
    refresh();
    return {attached_.begin(), attached_.end()};
}

std::shared_ptr<Screen> GdkScreenList::mainScreen() {
    refresh();
    GListModel* toplevels = gtk_window_get_toplevels();
    for (guint i = 0; i < g_list_model_get_n_items(toplevels); ++i) {
        auto* window = GTK_WINDOW(g_list_model_get_item(toplevels, i));
        GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window));
        bool active = gtk_window_is_active(window) && surface;
        GdkMonitor* monitor = active ? gdk_display_get_monitor_at_surface(display_, surface) : nullptr;
        g_object_unref(window);
        if (auto screen = monitor ? screenFor(monitor) : nullptr)
            return screen;
    }
    return attached_.empty() ? nullptr : attached_.front();
}

std::optional<std::string> GdkScreenList::displayUUID(std::uint32_t displayNumber) {
    refresh();
    for (auto& screen : attached_)
        if (screen->number() == displayNumber)
            return screen->uuid();
    return std::nullopt;
}

void GdkScreenList::setChangeHandler(std::function<void()> changed) {
    changed_ = std::move(changed);
    GListModel* monitors = gdk_display_get_monitors(display_);
    if (changed_ && !changeSignal_) {
        changeSignal_ = g_signal_connect(monitors, "items-changed", G_CALLBACK(monitorsChanged), this);
        watchGeometry(monitors, 0, g_list_model_get_n_items(monitors));
    }
    if (!changed_ && changeSignal_) {
        g_signal_handler_disconnect(monitors, std::exchange(changeSignal_, 0));
        stopWatchingGeometry();
        if (pendingChange_)
            g_source_remove(std::exchange(pendingChange_, 0));
    }
}

void GdkScreenList::watchGeometry(GListModel* monitors, guint from, guint count) {
    for (guint i = from; i < from + count; ++i) {
        auto* monitor = GDK_MONITOR(g_list_model_get_item(monitors, i));
        g_signal_connect(monitor, "notify::geometry", G_CALLBACK(+[](GObject*, GParamSpec*, gpointer self) {
                             static_cast<GdkScreenList*>(self)->reportChangeLater();
                         }),
                         this);
        watchedGeometry_.push_back(monitor);
    }
}

void GdkScreenList::stopWatchingGeometry() {
    for (auto* monitor : watchedGeometry_) {
        g_signal_handlers_disconnect_by_data(monitor, this);
        g_object_unref(monitor);
    }
    watchedGeometry_.clear();
}

// Changes come in bursts (a monitor removed and added back, several outputs at once): one call for each.
void GdkScreenList::monitorsChanged(GListModel* monitors, guint position, guint, guint added, gpointer self) {
    auto* list = static_cast<GdkScreenList*>(self);
    list->watchGeometry(monitors, position, added);
    list->reportChangeLater();
}

void GdkScreenList::reportChangeLater() {
    auto* list = this;
    if (list->pendingChange_)
        return;
    list->pendingChange_ = g_idle_add(
        [](gpointer self) -> gboolean {
            auto* list = static_cast<GdkScreenList*>(self);
            list->pendingChange_ = 0;
            if (auto changed = list->changed_)
                glib::runGuarded(changed, "monitors changed");
            return G_SOURCE_REMOVE;
        },
        list);
}

std::shared_ptr<GdkMonitorScreen> GdkScreenList::screenFor(GdkMonitor* monitor) {
    for (auto& screen : attached_)
        if (screen->monitor() == monitor)
            return screen;
    return nullptr;
}

} // namespace orrelith::platform
