#include "Platform/Linux/System/DBusDistributedCenter.hpp"

#include "Platform/Linux/System/DBusConnector.hpp"
#include "Platform/Linux/System/GlibSources.hpp"

namespace orrelith::platform {

namespace {

// What a center keeps for the other processes while its bus has not answered.
constexpr std::size_t maximumPendingPosts = 64;

} // namespace

std::shared_ptr<DBusDistributedCenter> DBusDistributedCenter::create(std::shared_ptr<MainQueue> queue) {
    auto center = std::shared_ptr<DBusDistributedCenter>(new DBusDistributedCenter(std::move(queue)));
    center->connect();
    return center;
}

DBusDistributedCenter::DBusDistributedCenter(std::shared_ptr<MainQueue> queue)
    : queue_(std::move(queue)), cancellable_(g_cancellable_new()) {}

DBusDistributedCenter::~DBusDistributedCenter() {
    g_cancellable_cancel(cancellable_);
    g_object_unref(cancellable_);
    if (!bus_)
        return;
    g_dbus_connection_signal_unsubscribe(bus_, subscription_);
    g_dbus_connection_flush_sync(bus_, nullptr, nullptr);
    g_object_unref(bus_);
}

void DBusDistributedCenter::connect() {
    if (!DBusConnector::address(DBusConnector::Bus::Session))
        return;
    connecting_ = true;
    std::weak_ptr<DBusDistributedCenter> weak = weak_from_this();
    DBusConnector::connect(DBusConnector::Bus::Session, cancellable_, [weak](GDBusConnection* bus) {
        auto self = weak.lock();
        if (!self) {
            if (bus)
                g_object_unref(bus);
            return;
        }
        self->connecting_ = false;
        if (bus)
            self->attach(bus);
        self->pending_.clear();
    });
}

void DBusDistributedCenter::attach(GDBusConnection* bus) {
    bus_ = bus;
    // The subscription ends in the destructor, before `this` goes; the raw pointer never outlives it.
    subscription_ = g_dbus_connection_signal_subscribe(bus_, nullptr, interfaceName, signalName, objectPath, nullptr,
                                                       G_DBUS_SIGNAL_FLAGS_NONE, received, this, nullptr);
    for (const auto& name : pending_)
        broadcast(name);
}

void DBusDistributedCenter::addObserver(const void* observer, const std::string& name, std::function<void()> handler) {
    observers_.add(observer, name, std::move(handler));
}

void DBusDistributedCenter::removeObserver(const void* observer) { observers_.remove(observer); }

void DBusDistributedCenter::post(const std::string& name) {
    deliverLater(name);
    if (!g_utf8_validate(name.c_str(), static_cast<gssize>(name.size()), nullptr))
        return;
    if (bus_)
        broadcast(name);
    else if (connecting_ && pending_.size() < maximumPendingPosts)
        pending_.push_back(name);
}

void DBusDistributedCenter::broadcast(const std::string& name) {
    g_dbus_connection_emit_signal(bus_, nullptr, objectPath, interfaceName, signalName,
                                  g_variant_new("(s)", name.c_str()), nullptr);
}

void DBusDistributedCenter::deliverLater(const std::string& name) {
    auto registrations = observers_.registrationsFor(name);
    if (registrations.empty())
        return;
    std::weak_ptr<DBusDistributedCenter> weak = weak_from_this();
    queue_->async([weak, registrations] {
        auto self = weak.lock();
        if (!self)
            return;
        for (auto registration : registrations)
            self->observers_.deliver(registration);
    });
}

void DBusDistributedCenter::received(GDBusConnection* connection, const gchar* sender, const gchar*, const gchar*,
                                     const gchar*, GVariant* parameters, gpointer data) {
    const gchar* own = g_dbus_connection_get_unique_name(connection);
    if (sender && own && g_strcmp0(sender, own) == 0)
        return;
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(s)")))
        return;
    const gchar* name = nullptr;
    g_variant_get(parameters, "(&s)", &name);
    auto* center = static_cast<DBusDistributedCenter*>(data);
    std::string posted = name;
    glib::runGuarded([center, posted] { center->deliverLater(posted); }, "distributed notification");
}

} // namespace orrelith::platform
