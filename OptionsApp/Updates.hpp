#pragma once

#include <string>
#include <vector>

namespace orrelith {

// The updater. Until the update service is built, start, checkQuietly and checkForUpdates are stubs that
// do nothing; only the choice of mode is real. Main thread only.
class Updates {
public:
    static Updates& shared() {
        static Updates updates;
        return updates;
    }
    // True when the daily check started the application.
    static bool checkOnly(const std::vector<std::string>& arguments) {
        for (const auto& argument : arguments)
            if (argument == "--check-updates")
                return true;
        return false;
    }
    // Stub.
    void start() {}
    // Stub.
    void checkQuietly() {}
    // Stub.
    void checkForUpdates() {}
};

} // namespace orrelith
