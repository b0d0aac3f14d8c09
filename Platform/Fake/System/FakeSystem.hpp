#pragma once

#include "Platform/System/System.hpp"

#include <map>
#include <string>
#include <vector>

namespace orrelith::platform {

// The process, its code and its user, as a test sets them in the public fields. Records what it is asked
// and every log line. Unlike the real one, not thread-safe: tests run on one thread.
class FakeSystem : public System {
public:
    struct Record {
        std::vector<const void*> codeLookups;
        std::vector<std::filesystem::path> bundleLookups;
    };

    // Answers `codeBundle` for every address.
    std::optional<Bundle> bundleContaining(const void* codeAddress) override;
    std::optional<Bundle> bundleAt(const std::filesystem::path& folder) override;
    std::optional<Bundle> mainBundle() override { return mainBundleValue; }
    std::vector<std::string> arguments() override { return argumentsValue; }
    int processIdentifier() override { return processIdentifierValue; }
    std::filesystem::path homeFolder() override { return homeFolderValue; }
    std::optional<std::filesystem::path> downloadsFolder() override { return downloadsFolderValue; }
    void log(const std::string& message) override { logLines.push_back(message); }

    const Record& record() const { return record_; }

    std::optional<Bundle> codeBundle;
    // Folder to bundle, for bundleAt.
    std::map<std::filesystem::path, Bundle> bundles;
    std::optional<Bundle> mainBundleValue;
    std::vector<std::string> argumentsValue{"fake"};
    int processIdentifierValue = 4242;
    // Nowhere by default, so that code that forgets to set it reads and writes nothing real.
    std::filesystem::path homeFolderValue = "/nonexistent/fake-home";
    std::optional<std::filesystem::path> downloadsFolderValue;
    std::vector<std::string> logLines;

private:
    Record record_;
};

} // namespace orrelith::platform
