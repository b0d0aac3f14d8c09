#include <gtest/gtest.h>

#include "Platform/System/ClassRegistry.hpp"
#include "Platform/Fake/FakePlatform.hpp"

#include <dlfcn.h>

using namespace orrelith::platform;

namespace {

const std::string module = std::string(ORRELITH_SAVER_BUNDLE) + "/Contents/Linux/Quorvane.so";

TEST(Plugin, LoadingTheModuleRegistersThePrincipalClassByItsPlainName) {
    FakePlatform fake;
    EXPECT_FALSE(ClassRegistry::lookup("ORVEXView"));
    void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    auto entry = ClassRegistry::lookup("ORVEXView");
    ASSERT_TRUE(entry);

    auto preview = entry->withFrame(Rect::make(0, 0, 296, 184), SaverMode::Preview);
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->isPreview());
    EXPECT_TRUE(preview->hasConfigureSheet());
    EXPECT_EQ(preview->animationTimeInterval(), 30.0);
    EXPECT_EQ(preview->layerBackgroundColor(), Color::black());
    EXPECT_EQ(fake.distributed->observerCount("com.apple.screensaver.willstop"), 1u);

    auto archived = entry->withArchive(Archive{});
    ASSERT_TRUE(archived);
    EXPECT_FALSE(archived->isPreview());
    EXPECT_NE(archived->animationTimeInterval(), 30.0) << "a view from an archive gets no set-up";
    EXPECT_EQ(fake.distributed->observerCount("com.apple.screensaver.willstop"), 1u);

    preview.reset();
    archived.reset();
    EXPECT_EQ(fake.distributed->observerCount("com.apple.screensaver.willstop"), 0u);
    ClassRegistry::unregisterClass("ORVEXView");
}

} // namespace
