#include "Platform/Linux/System/PlistPreferences.hpp"

#include "Platform/Linux/System/GlibSources.hpp"

#include <gio/gio.h>

namespace orrelith::platform {

namespace {

bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

std::string baseName(GFile* file) {
    if (!file)
        return {};
    char* name = g_file_get_basename(file);
    std::string result = name ? name : "";
    g_free(name);
    return result;
}

} // namespace

// The folder's monitor and what it calls. Owned by the preferences; the signal is disconnected before the
// monitor goes, so the callback never sees a dead owner.
struct PlistPreferences::Watch {
    PlistPreferences* owner = nullptr;
    GFileMonitor* monitor = nullptr;
    std::function<void()> handler;

    ~Watch() {
        if (!monitor)
            return;
        g_signal_handlers_disconnect_by_data(monitor, this);
        g_file_monitor_cancel(monitor);
        g_object_unref(monitor);
    }

    static void changed(GFileMonitor*, GFile* file, GFile* other, GFileMonitorEvent event, gpointer data) {
        auto* watch = static_cast<Watch*>(data);
        if (event == G_FILE_MONITOR_EVENT_CHANGED || event == G_FILE_MONITOR_EVENT_ATTRIBUTE_CHANGED ||
            event == G_FILE_MONITOR_EVENT_PRE_UNMOUNT || event == G_FILE_MONITOR_EVENT_UNMOUNTED)
            return;
        // A rename names the new name as the other file.
        auto name = event == G_FILE_MONITOR_EVENT_RENAMED ? baseName(other) : baseName(file);
        glib::runGuarded([watch, &name] { watch->owner->folderChanged(name); }, "preferences folder change");
    }
};

PlistPreferences::PlistPreferences(std::filesystem::path home, std::string applicationIdentifier)
    : home_(std::move(home)), identifier_(isPlainName(applicationIdentifier) ? std::move(applicationIdentifier) : "orrelith") {}

PlistPreferences::~PlistPreferences() = default;

std::shared_ptr<UserDefaults> PlistPreferences::standardUserDefaults() {
    if (!standard_)
        standard_ = std::make_shared<PlistUserDefaults>(folder() / (identifier_ + ".plist"));
    return standard_;
}

std::shared_ptr<UserDefaults> PlistPreferences::screenSaverDefaults(std::string_view moduleName) {
    if (!isPlainName(moduleName))
        return nullptr;
    return std::make_shared<PlistUserDefaults>(folder() / "ByHost" / (std::string(moduleName) + ".plist"));
}

void PlistPreferences::setStandardDefaultsChangeHandler(std::function<void()> handler) {
    if (!handler) {
        watch_.reset();
        return;
    }
    if (!watch_) {
        // The folder must exist to be watched; the first write would make it anyway.
        std::error_code ignored;
        std::filesystem::create_directories(folder(), ignored);
        watch_ = std::make_unique<Watch>();
        watch_->owner = this;
        GFile* directory = g_file_new_for_path(folder().c_str());
        watch_->monitor = g_file_monitor_directory(directory, G_FILE_MONITOR_WATCH_MOVES, nullptr, nullptr);
        g_object_unref(directory);
        if (watch_->monitor)
            g_signal_connect(watch_->monitor, "changed", G_CALLBACK(Watch::changed), watch_.get());
    }
    watch_->handler = std::move(handler);
}

void PlistPreferences::folderChanged(const std::string& name) {
    if (name != identifier_ + ".plist")
        return;
    standard_.reset();
    // A copy: the handler may replace itself.
    if (auto handler = watch_->handler)
        handler();
}

} // namespace orrelith::platform
