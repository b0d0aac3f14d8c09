#pragma once

#include "HostProcess.hpp"
#include "ScenePicture.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// Runs the real host on the bundle in the build folder, observing the distributed notifications it posts
// through the session bus, with a temporary folder for its messages and screenshots. The host reads the
// settings in the home folder of the user database, so the tests run only as a user made for them (see
// as-throwaway-user.sh) and are skipped otherwise; each starts without a settings document.
class HostRunFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // The host's arguments for the build folder's bundle, followed by `more`.
    static std::vector<std::string> withBundle(std::vector<std::string> more);
    static std::filesystem::path gallery();
    std::unique_ptr<HostProcess> start(const std::vector<std::string>& arguments,
                                       const std::vector<std::string>& environment = {});
    // The host ends by itself within `seconds` with status 0, after posting will-stop then did-stop.
    void expectCleanEnd(HostProcess& host, double seconds);
    std::filesystem::path file(const std::string& name) const { return folder_ / name; }
    // Writes the settings document the host reads at its next start.
    static void writeSettings(const std::string& json);

    // The notification names received, in order.
    std::shared_ptr<std::vector<std::string>> received = std::make_shared<std::vector<std::string>>();

private:
    std::filesystem::path folder_;
};
