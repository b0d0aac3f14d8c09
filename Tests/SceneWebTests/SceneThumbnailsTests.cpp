#include "Saver/SceneThumbnails.hpp"

#include "Platform/Fake/FakePlatform.hpp"
#include "TemporaryBundle.hpp"

#include <gtest/gtest.h>

namespace orrelith {
namespace {

using testing::TemporaryBundle;

class SceneThumbnailsTest : public ::testing::Test {
protected:
    SceneThumbnailsTest() {
        SceneThumbnails::resetForTesting();
        fake.system->codeBundle = bundle.bundle();
    }
    ~SceneThumbnailsTest() override { SceneThumbnails::resetForTesting(); }

    std::size_t loads() const { return fake.windows->record().imageLoads.size(); }

    platform::FakePlatform fake;
    TemporaryBundle bundle;
};

TEST_F(SceneThumbnailsTest, ReadsEachSlugsImageOnceFromTheGalleryButKeepsLookingForAMissingOne) {
    EXPECT_EQ(SceneThumbnails::image("radar"), nullptr);
    EXPECT_EQ(SceneThumbnails::image("radar"), nullptr);
    EXPECT_EQ(loads(), 2u);
    bundle.write("gallery/radar.jpg", "JPEG");
    auto first = SceneThumbnails::image("radar");
    auto second = SceneThumbnails::image("radar");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    ASSERT_EQ(loads(), 3u);
    EXPECT_EQ(fake.windows->record().imageLoads[2], bundle.resources() / "ORVEX" / "gallery" / "radar.jpg");

    fake.system->codeBundle.reset();
    EXPECT_EQ(SceneThumbnails::image("sonar"), nullptr);
    EXPECT_EQ(loads(), 3u) << "without a resource folder nothing is read";
}

} // namespace
} // namespace orrelith
