#pragma once

#include <filesystem>

namespace orrelith {

// The real home folder of the current user, as the user database records it. The environment is never
// consulted: a sandboxed process's notion of home points into its container, and both deliverables must
// agree on one folder. The platform's System answers it through this lookup; code asks the platform, so
// that tests can give a home of their own.
struct HomeFolder {
    // The home folder of getuid()'s entry in the user database; "/nonexistent" when there is no entry (so
    // that readers find nothing and writers fail rather than write somewhere unexpected). Thread-safe.
    static std::filesystem::path real();
};

} // namespace orrelith
