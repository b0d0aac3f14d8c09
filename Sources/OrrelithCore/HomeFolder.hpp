#pragma once

#include <filesystem>
#include <optional>

namespace orrelith {

// The real home folder of the current user, as the user database records it. The environment is never
// consulted: a sandboxed process's notion of home points into its container, and both deliverables must
// agree on one folder.
struct HomeFolder {
    // The home folder of getuid()'s entry in the user database; "/nonexistent" when there is no entry (so
    // that readers find nothing and writers fail rather than write somewhere unexpected). Thread-safe.
    static std::filesystem::path real();

    // For tests: while an override lives, real() answers its folder. Overrides nest; each restores the one
    // before it. Production code never makes one, so nothing changes there.
    class ScopedOverride {
    public:
        explicit ScopedOverride(std::filesystem::path folder);
        ~ScopedOverride();
        ScopedOverride(const ScopedOverride&) = delete;
        ScopedOverride& operator=(const ScopedOverride&) = delete;

    private:
        std::optional<std::filesystem::path> previous_;
    };
};

} // namespace orrelith
