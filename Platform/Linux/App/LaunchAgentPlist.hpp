#pragma once

#include "OrrelithCore/UserUnits.hpp"

#include <filesystem>

namespace orrelith::platform {

// A launch agent's job as the six-key property list the agent file holds. Any thread.
struct LaunchAgentPlist {
    // The job in `file`; an empty job when the file is missing or is not such a property list. Keys of
    // the wrong type count as missing.
    static LaunchAgentJob read(const std::filesystem::path& file);
    // Writes the job as an XML property list through the atomic writer; false when the file system refused.
    static bool write(const std::filesystem::path& file, const LaunchAgentJob& job);
};

} // namespace orrelith::platform
