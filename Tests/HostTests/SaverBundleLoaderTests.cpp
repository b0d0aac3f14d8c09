#include "Host/HostError.hpp"
#include "Host/SaverBundleLoader.hpp"
#include "Platform/Fake/FakePlatform.hpp"
#include "Platform/Linux/System/LinuxSystem.hpp"
#include "TestBundle.hpp"

#include <gtest/gtest.h>

using namespace orrelith::host;
using namespace orrelith::platform;

namespace {

const std::map<std::string, std::string> probeInfo{
    {"CFBundleName", "Probe"}, {"CFBundleExecutable", "Probe.so"}, {"NSPrincipalClass", "HostProbeView"}};

// Reads real bundles from disk with the real System, on the fake platform otherwise.
class SaverBundleLoaderTest : public ::testing::Test {
protected:
    SaverBundleLoaderTest() {
        auto services = installed();
        services.system = std::make_shared<LinuxSystem>();
        install(services);
    }

    std::string failureLoading(const std::filesystem::path& folder) {
        try {
            SaverBundleLoader::load(folder);
        } catch (const HostError& error) {
            EXPECT_EQ(error.exitStatus(), 1);
            return error.what();
        }
        return "loaded";
    }

    FakePlatform fake;
    TemporaryFolder temporary;
};

TEST_F(SaverBundleLoaderTest, LoadsTheModuleFromAnyPathAndFindsThePrincipalClassOrNamesWhatIsWrong) {
    auto folder = temporary.path() / "Probe.saver";
    makeBundle(folder, probeInfo, HOST_PROBE_MODULE);
    auto saver = SaverBundleLoader::load(folder);
    EXPECT_EQ(saver.principalClass, "HostProbeView");
    EXPECT_EQ(saver.displayName(), "Probe");
    auto view = saver.principal.withFrame(Rect::make(0, 0, 296, 184), SaverMode::Preview);
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->isPreview());

    // A relative path is loaded absolute, so that the plug-in finds its bundle.
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(temporary.path());
    auto relative = SaverBundleLoader::load("./Probe.saver/");
    std::filesystem::current_path(previous);
    EXPECT_EQ(relative.bundle.bundlePath, folder);
    ASSERT_TRUE(relative.bundle.executablePath);
    EXPECT_TRUE(relative.bundle.executablePath->is_absolute());

    // Each broken bundle gets a message naming what is wrong.
    auto at = [&](const std::string& name) { return temporary.path() / name; };
    std::filesystem::create_directories(at("Empty.saver"));
    auto info = probeInfo;
    info.erase("NSPrincipalClass");
    makeBundle(at("Classless.saver"), info, HOST_PROBE_MODULE);
    info = probeInfo;
    info.erase("CFBundleExecutable");
    makeBundle(at("Codeless.saver"), info, "");
    makeBundle(at("Moduleless.saver"), probeInfo, "");
    info = probeInfo;
    info["NSPrincipalClass"] = "SomeoneElsesView";
    makeBundle(at("Mismatched.saver"), info, HOST_PROBE_MODULE);

    const std::vector<std::pair<std::string, std::string>> cases{
        {"Missing.saver", "no screen saver at " + at("Missing.saver").string()},
        {"Empty.saver", at("Empty.saver").string() + " is not a screen saver bundle: it has no readable Contents/Info.plist"},
        {"Classless.saver", "Contents/Info.plist names no principal class (NSPrincipalClass)"},
        {"Codeless.saver", "Contents/Info.plist names no executable (CFBundleExecutable)"},
        {"Moduleless.saver", "cannot load " + at("Moduleless.saver").string() + "/Contents/Linux/Probe.so: "},
        {"Mismatched.saver", "Probe.so does not provide the principal class SomeoneElsesView"},
    };
    for (const auto& [name, says] : cases) {
        SCOPED_TRACE(name);
        auto message = failureLoading(at(name));
        EXPECT_NE(message.find(says), std::string::npos) << message;
    }
}

} // namespace
