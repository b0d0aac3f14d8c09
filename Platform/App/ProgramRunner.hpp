#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orrelith::platform {

// Runs system tools synchronously for what they print. Main thread; blocks until the tool has exited.
class ProgramRunner {
public:
    virtual ~ProgramRunner() = default;
    // Runs the executable at `program` (no search on the path) with `arguments` and answers its standard
    // output, decoded as UTF-8 with invalid sequences replaced by U+FFFD. What it writes to standard error
    // is discarded, so a chatty tool can never block on a full pipe. The exit status is not looked at; a
    // program that cannot be started answers the empty text.
    virtual std::string run(const std::filesystem::path& program, const std::vector<std::string>& arguments) = 0;
};

} // namespace orrelith::platform
