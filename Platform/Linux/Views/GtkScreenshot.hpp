#pragma once

#include "Platform/Views/Window.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orrelith::platform {

// Draws windows into a PNG from what GTK would draw for them now (their widgets' paintables, rendered by
// the first drawn window's renderer), so it shows the windows' own content whatever the compositor or
// the X server composes on top. Windows not drawn yet are left out. Main thread only.
struct GtkScreenshot {
    // Nothing on success, else why no file was written.
    static std::optional<std::string> write(const std::vector<std::shared_ptr<Window>>& windows,
                                            const std::filesystem::path& png);
};

} // namespace orrelith::platform
