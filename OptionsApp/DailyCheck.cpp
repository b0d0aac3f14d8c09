#include "OptionsApp/DailyCheck.hpp"

namespace orrelith {

LaunchAgentJob DailyCheck::job(const Place& place) {
    return {label,      {place.executable.string(), "--check-updates"}, 11, 0, {place.bundle.string()}, "Aqua",
            "Interactive"};
}

std::filesystem::path DailyCheck::file(const Place& place) {
    return place.home / "Library/LaunchAgents" / (std::string(label) + ".plist");
}

void DailyCheck::ensure(platform::LaunchAgents& agents, const Place& place, const std::vector<std::string>& oldLabels) {
    auto wanted = job(place);
    auto path = file(place);
    bool unchanged = agents.read(path) == wanted;
    if (!unchanged)
        agents.write(path, wanted); // a failure is logged there; the next launch tries again
    std::string domain = "gui/" + std::to_string(place.uid);
    for (const auto& old : oldLabels)
        if (!agents.print(domain + "/" + old).empty())
            agents.bootout(domain + "/" + old);
    std::string service = domain + "/" + label;
    std::string loaded = agents.print(service);
    bool current = loaded.find("path = " + path.string() + "\n") != std::string::npos &&
                   loaded.find("program = " + place.executable.string() + "\n") != std::string::npos;
    if (unchanged && current)
        return;
    if (!loaded.empty())
        agents.bootout(service);
    agents.bootstrap(domain, path);
}

} // namespace orrelith
