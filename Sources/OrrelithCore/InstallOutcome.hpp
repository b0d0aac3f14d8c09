#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "OrrelithCore/InstallNotice.hpp"
#include "OrrelithCore/SaverSync.hpp"

namespace orrelith {

// The pure decisions around installing the screen saver. Stateless; callable from any thread.
struct InstallOutcome {
    // How the application was started: by the user, or by the daily update check.
    enum class RunMode { interactive, checkOnly };

    // The outcome after a file operation failed: success all the same when the wanted version ended up
    // installed (`installed` is the version read after the failure), otherwise failed(message).
    static SaverSync afterError(std::string message, const std::optional<std::string>& installed,
                                const std::string& wanted, const std::optional<std::string>& before);
    // Only a first installation or a failure is announced, and nothing at all in a check-only run.
    static InstallNotice notice(const SaverSync& sync, RunMode mode);
    // True when the path lies on a mounted disk image or in a translocated copy, where an application
    // should not stay.
    static bool runsFromDiskImage(std::string_view path);
};

} // namespace orrelith
