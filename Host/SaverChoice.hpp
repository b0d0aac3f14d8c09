#pragma once

#include "Host/HostOptions.hpp"

#include <optional>
#include <string>

namespace orrelith::host {

// The screen saver chosen in the settings pane, kept in the host's preferences as "saverName": the daemon's
// runs load it when the daemon's own command line names none. Main thread; synchronous.
struct SaverChoice {
    static constexpr const char* key = "saverName";

    // The stored name; nothing when none is stored or it could not name a bundle folder.
    static std::optional<std::string> stored();
    static void store(const std::string& name);
    // `options` with the stored choice as its screen saver when they name none of their own.
    static HostOptions applied(HostOptions options);
};

} // namespace orrelith::host
