#pragma once

#include "Platform/System/Bundle.hpp"

#include <filesystem>
#include <string>

namespace orrelith {

// The application's entry in the desktop's list of applications: a desktop entry named after the bundle's
// identifier in the user's .local/share/applications, starting the bundle's executable and showing its
// icon. Main thread; synchronous.
struct DesktopEntry {
    // The entry's text for the application at `bundle`.
    static std::string text(const platform::Bundle& bundle);
    // Where the entry of `bundle` belongs under `home`.
    static std::filesystem::path file(const std::filesystem::path& home, const platform::Bundle& bundle);
    // Writes the entry when it is missing or differs, so that it points at this copy; an entry already
    // right is left untouched. A bundle without identifier or executable gets none. A failure is logged and
    // otherwise ignored: the application works without its entry.
    static void ensure(const std::filesystem::path& home, const platform::Bundle& bundle);
};

} // namespace orrelith
