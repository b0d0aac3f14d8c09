#include "PrivateBus.hpp"

#include "MainLoopSupport.hpp"

#include <csignal>
#include <fstream>
#include <sys/wait.h>

#include <gio/gio.h>

PrivateBus::PrivateBus(Kind kind, const char* variable)
    : variable_(variable), folder_(g_dir_make_tmp("orrelith-bus-XXXXXX", nullptr)) {
    std::ofstream(folder_ / "bus.conf")
        << "<busconfig><type>" << (kind == Kind::Open ? "session" : "system") << "</type><listen>" << address()
        << "</listen><auth>EXTERNAL</auth>"
        << (kind == Kind::Open ? "<policy context='default'><allow send_destination='*' eavesdrop='true'/>"
                                 "<allow eavesdrop='true'/><allow own='*'/></policy></busconfig>"
                               : "</busconfig>");
    std::string config = "--config-file=" + (folder_ / "bus.conf").string();
    const gchar* argv[] = {"dbus-daemon", "--nofork", config.c_str(), nullptr};
    if (!g_spawn_async(nullptr, const_cast<gchar**>(argv), nullptr,
                       GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr, nullptr, &pid_, nullptr))
        pid_ = -1;
    // A safety bound: the socket's file comes just before the daemon listens on it.
    pumpUntil([this] { return std::filesystem::exists(folder_ / "socket"); });
    pumpFor(0.1);
    if (variable_)
        g_setenv(variable_, address().c_str(), TRUE);
}

PrivateBus::~PrivateBus() {
    if (variable_)
        g_unsetenv(variable_);
    if (pid_ > 0 && kill(pid_, SIGTERM) == 0)
        waitpid(pid_, nullptr, 0);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

bool PrivateBus::isListening() const { return pid_ > 0 && std::filesystem::exists(folder_ / "socket"); }

GDBusConnection* PrivateBus::connect() const {
    return g_dbus_connection_new_for_address_sync(
        address().c_str(),
        GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                             G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
}
