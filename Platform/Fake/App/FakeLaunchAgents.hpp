#pragma once

#include "Platform/App/LaunchAgents.hpp"

#include <map>
#include <vector>

namespace orrelith::platform {

// Agents in memory: files are a map, what is loaded is a map from service to its print text, and every
// call is recorded in order as "print <service>", "bootout <service>", "bootstrap <domain> <file>",
// "write <file>".
class FakeLaunchAgents : public LaunchAgents {
public:
    std::map<std::filesystem::path, LaunchAgentJob> files;
    std::map<std::string, std::string> loaded;
    std::vector<std::string> calls;

    LaunchAgentJob read(const std::filesystem::path& file) override {
        auto found = files.find(file);
        return found == files.end() ? LaunchAgentJob{} : found->second;
    }
    bool write(const std::filesystem::path& file, const LaunchAgentJob& job) override {
        calls.push_back("write " + file.string());
        files[file] = job;
        return true;
    }
    std::string print(const std::string& service) override {
        calls.push_back("print " + service);
        auto found = loaded.find(service);
        return found == loaded.end() ? "" : found->second;
    }
    void bootout(const std::string& service) override {
        calls.push_back("bootout " + service);
        loaded.erase(service);
    }
    void bootstrap(const std::string& domain, const std::filesystem::path& file) override {
        calls.push_back("bootstrap " + domain + " " + file.string());
        auto job = read(file);
        loaded[domain + "/" + job.label] = "path = " + file.string() + "\nprogram = " +
                                           (job.programArguments.empty() ? "" : job.programArguments[0]) + "\n";
    }
};

} // namespace orrelith::platform
