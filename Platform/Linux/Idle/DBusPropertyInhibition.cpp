#include "Platform/Linux/Idle/DBusPropertyInhibition.hpp"

#include "Platform/Linux/System/GlibSources.hpp"

#include <ranges>
#include <string_view>
#include <utility>

namespace orrelith::platform {

namespace {

// logind's BlockInhibited: the block-mode locks' kinds, colon-separated ("sleep:idle").
bool listsIdle(GVariant* value) {
    if (!g_variant_is_of_type(value, G_VARIANT_TYPE_STRING))
        return false;
    std::string_view kinds = g_variant_get_string(value, nullptr);
    for (auto kind : kinds | std::views::split(':'))
        if (std::string_view(kind.begin(), kind.end()) == "idle")
            return true;
    return false;
}

// The session manager's InhibitedActions: a set of flags, 8 for idle.
bool flagsIdle(GVariant* value) {
    return g_variant_is_of_type(value, G_VARIANT_TYPE_UINT32) && (g_variant_get_uint32(value) & 8u) != 0;
}

void reread(gpointer self) {
    glib::runGuarded([self] { static_cast<DBusPropertyInhibition*>(self)->reread(); }, "inhibition change");
}

void propertiesChanged(GDBusProxy*, GVariant*, const gchar* const*, gpointer self) {
    reread(self);
}

void ownerChanged(GObject*, GParamSpec*, gpointer self) {
    reread(self);
}

} // namespace

DBusPropertyInhibition::Source DBusPropertyInhibition::logindIdleLocks() {
    return {DBusConnector::Bus::System,       "org.freedesktop.login1", "/org/freedesktop/login1",
            "org.freedesktop.login1.Manager", "BlockInhibited",         listsIdle};
}

DBusPropertyInhibition::Source DBusPropertyInhibition::sessionIdleInhibition() {
    return {DBusConnector::Bus::Session, "org.gnome.SessionManager", "/org/gnome/SessionManager",
            "org.gnome.SessionManager",  "InhibitedActions",         flagsIdle};
}

std::shared_ptr<DBusPropertyInhibition> DBusPropertyInhibition::create(Source source) {
    return std::shared_ptr<DBusPropertyInhibition>(new DBusPropertyInhibition(std::move(source)));
}

DBusPropertyInhibition::DBusPropertyInhibition(Source source)
    : source_(std::move(source)), cancellable_(g_cancellable_new()) {}

DBusPropertyInhibition::~DBusPropertyInhibition() {
    g_cancellable_cancel(cancellable_);
    g_object_unref(cancellable_);
    if (proxy_) {
        g_signal_handlers_disconnect_by_data(proxy_, this);
        g_object_unref(proxy_);
    }
    if (bus_)
        g_object_unref(bus_);
}

void DBusPropertyInhibition::start(std::function<void()> changed) {
    changed_ = std::move(changed);
    std::weak_ptr<DBusPropertyInhibition> weak = weak_from_this();
    DBusConnector::connect(source_.bus, cancellable_, [weak](GDBusConnection* bus) {
        auto self = weak.lock();
        if (self && bus && !self->bus_)
            self->connected(bus);
        else if (bus)
            g_object_unref(bus);
    });
}

void DBusPropertyInhibition::connected(GDBusConnection* bus) {
    bus_ = bus;
    auto flags =
        GDBusProxyFlags(G_DBUS_PROXY_FLAGS_DO_NOT_AUTO_START | G_DBUS_PROXY_FLAGS_GET_INVALIDATED_PROPERTIES);
    using Weak = std::weak_ptr<DBusPropertyInhibition>;
    g_dbus_proxy_new(
        bus_, flags, nullptr, source_.name.c_str(), source_.path.c_str(), source_.interface.c_str(),
        cancellable_,
        [](GObject*, GAsyncResult* result, gpointer data) {
            auto* weak = static_cast<Weak*>(data);
            GDBusProxy* proxy = g_dbus_proxy_new_finish(result, nullptr);
            if (auto self = weak->lock(); self && proxy)
                glib::runGuarded([&] { self->proxyMade(std::exchange(proxy, nullptr)); }, "inhibition proxy");
            if (proxy)
                g_object_unref(proxy);
            delete weak;
        },
        new Weak(weak_from_this()));
}

// The proxy's cache follows the property; it is emptied when the owner goes and refilled before the
// owner's name is announced when one comes. The handlers go in the destructor, before `this`.
void DBusPropertyInhibition::proxyMade(GDBusProxy* proxy) {
    proxy_ = proxy;
    g_signal_connect(proxy_, "g-properties-changed", G_CALLBACK(propertiesChanged), this);
    g_signal_connect(proxy_, "notify::g-name-owner", G_CALLBACK(ownerChanged), this);
    reread();
}

void DBusPropertyInhibition::reread() {
    GVariant* value = g_dbus_proxy_get_cached_property(proxy_, source_.property.c_str());
    bool inhibited = value && source_.inhibits(value);
    if (value)
        g_variant_unref(value);
    if (std::exchange(inhibited_, inhibited) == inhibited || !changed_)
        return;
    // `changed` may let this object go.
    auto keep = shared_from_this();
    changed_();
}

} // namespace orrelith::platform
