#pragma once

#include "OrrelithCore/UserUnits.hpp"
#include "Platform/App/LaunchAgents.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace orrelith {

// The agent that starts the application once a day, and whenever its bundle changes, with
// "--check-updates". Main thread; blocks while the agent manager answers.
struct DailyCheck {
    static constexpr const char* label = "org.kestrin.quorvane.update-check";

    // Where this application runs from, and whose agents to manage.
    struct Place {
        std::filesystem::path home;
        std::filesystem::path executable;
        std::filesystem::path bundle;
        unsigned uid = 0;
    };

    static LaunchAgentJob job(const Place& place);
    static std::filesystem::path file(const Place& place);
    // Rewrites the agent's property list only when it differs, boots out agents of older releases, and
    // reloads the agent only when it was rewritten or is not loaded with the current file and program.
    static void ensure(platform::LaunchAgents& agents, const Place& place, const std::vector<std::string>& oldLabels);
};

} // namespace orrelith
