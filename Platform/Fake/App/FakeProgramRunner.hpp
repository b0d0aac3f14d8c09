#pragma once

#include "Platform/App/ProgramRunner.hpp"

#include <map>

namespace orrelith::platform {

// Tools in memory: each program answers the output a test sets (the empty text when none), and every run
// is recorded.
class FakeProgramRunner : public ProgramRunner {
public:
    struct Run {
        std::filesystem::path program;
        std::vector<std::string> arguments;
        friend bool operator==(const Run&, const Run&) = default;
    };

    std::string run(const std::filesystem::path& program, const std::vector<std::string>& arguments) override {
        runs.push_back({program, arguments});
        auto found = outputs.find(program);
        return found == outputs.end() ? std::string() : found->second;
    }

    std::map<std::filesystem::path, std::string> outputs;
    std::vector<Run> runs;
};

} // namespace orrelith::platform
