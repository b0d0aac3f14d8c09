#include "Platform/Linux/Idle/DBusScreenSaverService.hpp"

#include "Platform/Linux/System/DBusConnector.hpp"
#include "Platform/Linux/System/GlibSources.hpp"

#include <utility>

namespace orrelith::platform {

namespace {

constexpr const char* interfaceName = "org.freedesktop.ScreenSaver";
const char* const objectPaths[] = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};

constexpr const char* introspection = R"(<node>
  <interface name="org.freedesktop.ScreenSaver">
    <method name="Inhibit">
      <arg name="application_name" type="s" direction="in"/>
      <arg name="reason_for_inhibit" type="s" direction="in"/>
      <arg name="cookie" type="u" direction="out"/>
    </method>
    <method name="UnInhibit"><arg name="cookie" type="u" direction="in"/></method>
    <method name="GetActive"><arg name="active" type="b" direction="out"/></method>
    <signal name="ActiveChanged"><arg name="new_value" type="b"/></signal>
  </interface>
</node>)";

GDBusInterfaceInfo* interfaceInfo() {
    static GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(introspection, nullptr);
    return node->interfaces[0];
}

void methodCall(GDBusConnection*, const gchar* sender, const gchar*, const gchar*, const gchar* method,
                GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
    glib::runGuarded(
        [&] {
            static_cast<DBusScreenSaverService*>(self)->methodCalled(sender ? sender : "", method, parameters,
                                                                     invocation);
        },
        "screen-saver request");
}

const GDBusInterfaceVTable vtable{methodCall, nullptr, nullptr, {}};

} // namespace

DBusScreenSaverService::DBusScreenSaverService() : cancellable_(g_cancellable_new()) {}

DBusScreenSaverService::~DBusScreenSaverService() {
    g_cancellable_cancel(cancellable_);
    g_object_unref(cancellable_);
    if (!bus_)
        return;
    if (ownership_)
        g_bus_unown_name(ownership_);
    for (auto object : objects_)
        if (object)
            g_dbus_connection_unregister_object(bus_, object);
    g_dbus_connection_signal_unsubscribe(bus_, vanishing_);
    g_object_unref(bus_);
}

void DBusScreenSaverService::start(std::function<void()> changed) {
    changed_ = std::move(changed);
    std::weak_ptr<DBusScreenSaverService> weak = weak_from_this();
    DBusConnector::connect(DBusConnector::Bus::Session, cancellable_, [weak](GDBusConnection* bus) {
        auto self = weak.lock();
        if (self && bus && !self->bus_)
            self->connected(bus);
        else if (bus)
            g_object_unref(bus);
    });
}

// The objects come before the name, so that no request finds the name without them. The raw pointer
// handed to the bus is taken back in the destructor.
void DBusScreenSaverService::connected(GDBusConnection* bus) {
    bus_ = bus;
    for (int i = 0; i < 2; ++i)
        objects_[i] = g_dbus_connection_register_object(bus_, objectPaths[i], interfaceInfo(), &vtable, this,
                                                        nullptr, nullptr);
    vanishing_ = g_dbus_connection_signal_subscribe(
        bus_, "org.freedesktop.DBus", "org.freedesktop.DBus", "NameOwnerChanged", "/org/freedesktop/DBus", nullptr,
        G_DBUS_SIGNAL_FLAGS_NONE,
        [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
           gpointer self) {
            const gchar *name = nullptr, *before = nullptr, *after = nullptr;
            g_variant_get(parameters, "(&s&s&s)", &name, &before, &after);
            if (name && name[0] == ':' && after && !*after)
                glib::runGuarded([&] { static_cast<DBusScreenSaverService*>(self)->nameVanished(name); },
                                 "caller gone");
        },
        this, nullptr);
    ownership_ = g_bus_own_name_on_connection(bus_, busName, G_BUS_NAME_OWNER_FLAGS_DO_NOT_QUEUE, nullptr, nullptr,
                                              nullptr, nullptr);
}

void DBusScreenSaverService::methodCalled(const std::string& sender, const std::string& method, GVariant* parameters,
                                          GDBusMethodInvocation* invocation) {
    if (method == "Inhibit") {
        const gchar *application = nullptr, *reason = nullptr;
        g_variant_get(parameters, "(&s&s)", &application, &reason);
        guint32 cookie = nextCookie_++;
        bool first = holds_.empty();
        holds_[cookie] = Hold{sender, application};
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", cookie));
        if (first)
            reportLater();
    } else if (method == "UnInhibit") {
        guint32 cookie = 0;
        g_variant_get(parameters, "(u)", &cookie);
        // Only its own caller releases a cookie.
        if (auto found = holds_.find(cookie); found != holds_.end() && found->second.sender == sender) {
            holds_.erase(found);
            if (holds_.empty())
                reportLater();
        }
        g_dbus_method_invocation_return_value(invocation, nullptr);
    } else if (method == "GetActive") {
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(b)", active_));
    } else {
        g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD, "no %s",
                                              method.c_str());
    }
}

void DBusScreenSaverService::nameVanished(const std::string& uniqueName) {
    bool held = !holds_.empty();
    std::erase_if(holds_, [&](const auto& entry) { return entry.second.sender == uniqueName; });
    if (held && holds_.empty())
        reportLater();
}

void DBusScreenSaverService::setActive(bool active) {
    if (std::exchange(active_, active) == active || !bus_)
        return;
    for (auto* path : objectPaths)
        g_dbus_connection_emit_signal(bus_, nullptr, path, interfaceName, "ActiveChanged",
                                      g_variant_new("(b)", active), nullptr);
}

void DBusScreenSaverService::reportLater() {
    std::weak_ptr<DBusScreenSaverService> weak = weak_from_this();
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            glib::runGuarded(*static_cast<std::function<void()>*>(data), "inhibition report");
            return G_SOURCE_REMOVE;
        },
        new std::function<void()>([weak] {
            if (auto self = weak.lock(); self && self->changed_)
                self->changed_();
        }),
        [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

} // namespace orrelith::platform
