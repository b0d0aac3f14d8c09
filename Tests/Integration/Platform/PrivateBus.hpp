#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

typedef struct _GDBusConnection GDBusConnection;

// A dbus-daemon of the test's own in a temporary folder, listening once constructed. Open: anyone may own
// names and call anyone. Hung: it takes connections and never answers them. With a `variable`, the test's
// environment names it there while it lives.
class PrivateBus {
public:
    enum class Kind { Open, Hung };

    explicit PrivateBus(Kind kind, const char* variable = nullptr);
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool isListening() const;
    std::string address() const { return "unix:path=" + (folder_ / "socket").string(); }
    // A message-bus connection of the caller's own; null when none can be made.
    GDBusConnection* connect() const;

private:
    const char* variable_;
    std::filesystem::path folder_;
    pid_t pid_ = -1;
};
