#include "Platform/Linux/App/SystemdLaunchAgents.hpp"

#include "OrrelithCore/AtomicFile.hpp"
#include "Platform/App/ProgramRunner.hpp"
#include "Platform/Linux/App/LaunchAgentPlist.hpp"

#include <gio/gio.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>

namespace orrelith::platform {

namespace {

// A manager that does not answer within this is taken as absent; the caller is the main thread.
constexpr int callTimeoutMilliseconds = 5000;
const char* const companions[] = {".timer", ".path"};

struct ConnectionDeleter {
    void operator()(GDBusConnection* connection) const { g_object_unref(connection); }
};
using Connection = std::unique_ptr<GDBusConnection, ConnectionDeleter>;
struct VariantDeleter {
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
};
using Variant = std::unique_ptr<GVariant, VariantDeleter>;

// The user manager's own socket (what systemctl --user talks to), peer to peer: no message bus needed.
Connection connect(const std::filesystem::path& socket) {
    std::error_code error;
    if (!std::filesystem::is_socket(socket, error))
        return nullptr;
    gchar* escaped = g_dbus_address_escape_value(socket.c_str());
    std::string address = std::string("unix:path=") + escaped;
    g_free(escaped);
    return Connection(g_dbus_connection_new_for_address_sync(
        address.c_str(), G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT, nullptr, nullptr, nullptr));
}

Variant call(GDBusConnection* connection, const char* object, const char* interface, const char* method,
             GVariant* parameters, const char* replyType) {
    return Variant(g_dbus_connection_call_sync(connection, nullptr, object, interface, method, parameters,
                                               G_VARIANT_TYPE(replyType), G_DBUS_CALL_FLAGS_NONE,
                                               callTimeoutMilliseconds, nullptr, nullptr));
}

// The object of a unit the manager has loaded; nothing when it has not.
std::optional<std::string> unitObject(GDBusConnection* connection, const std::string& unit) {
    auto reply = call(connection, "/org/freedesktop/systemd1", "org.freedesktop.systemd1.Manager", "GetUnit",
                      g_variant_new("(s)", unit.c_str()), "(o)");
    if (!reply)
        return std::nullopt;
    const gchar* object = nullptr;
    g_variant_get(reply.get(), "(&o)", &object);
    return std::string(object);
}

Variant property(GDBusConnection* connection, const std::string& object, const char* interface, const char* name) {
    auto reply = call(connection, object.c_str(), "org.freedesktop.DBus.Properties", "Get",
                      g_variant_new("(ss)", interface, name), "(v)");
    if (!reply)
        return nullptr;
    GVariant* value = nullptr;
    g_variant_get(reply.get(), "(v)", &value);
    return Variant(value);
}

std::string unitText(GDBusConnection* connection, const std::string& object, const char* name) {
    auto value = property(connection, object, "org.freedesktop.systemd1.Unit", name);
    if (!value || !g_variant_is_of_type(value.get(), G_VARIANT_TYPE_STRING))
        return {};
    return g_variant_get_string(value.get(), nullptr);
}

// The program the service starts: its first command's first argument, or, for a program started through
// the shell's "$@" (systemd refuses some paths as executables), the first argument after the shell's own.
std::string program(GDBusConnection* connection, const std::string& object) {
    auto commands = property(connection, object, "org.freedesktop.systemd1.Service", "ExecStart");
    if (!commands || !g_variant_is_of_type(commands.get(), G_VARIANT_TYPE("a(sasbttttuii)")) ||
        g_variant_n_children(commands.get()) == 0)
        return {};
    Variant first(g_variant_get_child_value(commands.get(), 0));
    Variant argv(g_variant_get_child_value(first.get(), 1));
    gsize count = 0;
    const gchar** arguments = g_variant_get_strv(argv.get(), &count);
    std::vector<std::string> words(arguments, arguments + count);
    g_free(arguments);
    if (words.size() > 4 && words[0] == "/bin/sh" && words[1] == "-c" && words[3] == "sh")
        return words[4];
    return words.empty() ? std::string() : words[0];
}

std::string labelOf(const std::string& service) { return service.substr(service.rfind('/') + 1); }

} // namespace

SystemdLaunchAgents::SystemdLaunchAgents(std::filesystem::path home, std::filesystem::path runtimeFolder,
                                         std::shared_ptr<ProgramRunner> programs,
                                         std::function<void(const std::string&)> log)
    : home_(std::move(home)), socket_(std::move(runtimeFolder) / "systemd/private"), programs_(std::move(programs)),
      log_(std::move(log)) {}

std::filesystem::path SystemdLaunchAgents::defaultRuntimeFolder() {
    if (const char* folder = std::getenv("XDG_RUNTIME_DIR"); folder && *folder == '/')
        return folder;
    return "/run/user/" + std::to_string(getuid());
}

LaunchAgentJob SystemdLaunchAgents::read(const std::filesystem::path& file) { return LaunchAgentPlist::read(file); }

bool SystemdLaunchAgents::write(const std::filesystem::path& file, const LaunchAgentJob& job) {
    if (LaunchAgentPlist::write(file, job))
        return true;
    log_("couldn't write the launch agent " + file.string());
    return false;
}

bool SystemdLaunchAgents::managerRuns() { return connect(socket_) != nullptr; }

void SystemdLaunchAgents::systemctl(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "--user");
    std::filesystem::path tool = std::filesystem::exists("/usr/bin/systemctl") ? "/usr/bin/systemctl" : "/bin/systemctl";
    programs_->run(tool, arguments);
}

std::string SystemdLaunchAgents::print(const std::string& service) {
    auto connection = connect(socket_);
    auto label = labelOf(service);
    if (!connection)
        return {};
    auto object = unitObject(connection.get(), label + ".service");
    if (!object || unitText(connection.get(), *object, "LoadState") != "loaded")
        return {};
    // Loaded means scheduled: each companion unit that was written must be running.
    for (const char* suffix : companions) {
        if (!std::filesystem::exists(unitFolder() / (label + suffix)))
            continue;
        auto companion = unitObject(connection.get(), label + suffix);
        if (!companion || unitText(connection.get(), *companion, "ActiveState") != "active")
            return {};
    }
    return "path = " + unitText(connection.get(), *object, "SourcePath") + "\nprogram = " +
           program(connection.get(), *object) + "\n";
}

void SystemdLaunchAgents::bootout(const std::string& service) {
    auto label = labelOf(service);
    if (managerRuns()) {
        std::vector<std::string> units{"disable", "--now"};
        for (const char* suffix : companions)
            units.push_back(label + suffix);
        systemctl(units);
        systemctl({"stop", label + ".service"});
    }
    std::error_code ignored;
    for (const char* suffix : {".timer", ".path", ".service"})
        std::filesystem::remove(unitFolder() / (label + suffix), ignored);
    if (managerRuns())
        systemctl({"daemon-reload"});
}

void SystemdLaunchAgents::bootstrap(const std::string&, const std::filesystem::path& file) {
    auto job = read(file);
    if (!managerRuns()) {
        log_("no systemd user manager runs, so the launch agent " + job.label + " is not registered");
        return;
    }
    try {
        std::vector<std::string> enable{"enable", "--now"};
        for (const auto& [name, text] : UserUnits::of(job, file.string())) {
            AtomicFile::write(unitFolder() / name, text);
            if (!name.ends_with(".service"))
                enable.push_back(name);
        }
        systemctl({"daemon-reload"});
        systemctl(enable);
    } catch (const std::exception& error) {
        log_("couldn't register the launch agent " + file.string() + ": " + error.what());
    }
}

} // namespace orrelith::platform
