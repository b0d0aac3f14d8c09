#pragma once

#include "Platform/App/ProgramRunner.hpp"

namespace orrelith::platform {

// Runs tools with g_spawn_sync: standard input from /dev/null, standard output captured, standard error
// sent to /dev/null (nobody would read it, and a full pipe would block the tool for ever).
class GlibProgramRunner : public ProgramRunner {
public:
    std::string run(const std::filesystem::path& program, const std::vector<std::string>& arguments) override;
};

} // namespace orrelith::platform
