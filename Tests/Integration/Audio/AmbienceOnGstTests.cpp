#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include "Platform/Fake/FakePlatform.hpp"
#include "Platform/Linux/Audio/GstAudioCapture.hpp"
#include "Platform/Linux/Audio/GstAudioSystem.hpp"
#include "Saver/Ambience.hpp"
#include "Platform/Linux/System/GlibMainQueue.hpp"
#include "../Platform/MainLoopSupport.hpp"
#include "TrackMaker.hpp"

#include <cmath>
#include <filesystem>

using namespace orrelith;
using namespace orrelith::platform;
namespace fs = std::filesystem;

namespace {

// The ambience on the real audio graph, its timers on the virtual clock: what leaves the volume element is
// followed buffer by buffer while the clock steps through the fade-in.
class AmbienceOnGstTest : public ::testing::Test {
protected:
    AmbienceOnGstTest() {
        auto resources = folder / "Quorvane.saver/Contents/Resources";
        fs::create_directories(resources / "ORVEX/sound");
        // A square wave: every sample has the same magnitude, so each buffer shows the volume it passed at.
        track = makeTrack(resources / "ORVEX/sound/ambience.m4a", {48000, 2}, 10, 4800, "square freq=5 volume=0.5");
        fake.system->codeBundle = Bundle{folder / "Quorvane.saver", resources, {}, {}};
        capture = GstAudioCapture::create({48000, 2});
        Services services = installed();
        audio = std::make_shared<GstAudioSystem>(capture->output(), std::make_shared<GlibMainQueue>());
        services.audio = audio;
        install(services);
        Ambience::stillWanted = [] { return true; };
    }
    ~AmbienceOnGstTest() override { Ambience::resetForTesting(); }

    // Takes buffers until one has passed at `volume` (a few may still come at the previous one) and checks
    // that each taken buffer carries one volume, either the previous or the new.
    void expectOutputReaches(float previous, float volume) {
        for (int pulls = 0; pulls < 8; ++pulls) {
            auto out = capture->pullBuffer();
            ASSERT_FALSE(out.empty());
            float seen = std::abs(out[0]) / level;
            for (float x : out)
                ASSERT_NEAR(std::abs(x) / level, seen, 1e-5f);
            if (std::abs(seen - volume) < 1e-5f)
                return;
            ASSERT_NEAR(seen, previous, 1e-5f) << "neither the previous volume nor the new";
        }
        FAIL() << "the output never reached " << volume;
    }

    FakePlatform fake;
    orrelith::testing::TemporaryFolder folder;
    Track track;
    std::shared_ptr<GstAudioCapture> capture;
    std::shared_ptr<GstAudioSystem> audio;
    float level = 0;
};

TEST_F(AmbienceOnGstTest, VolumeElementFollowsTheFadeInStepByStep) {
    ASSERT_FALSE(track.samples.empty()) << "the tools made no track";
    level = std::abs(track.samples[0]);
    Settings settings;
    settings.soundVolume = 0.6;
    Ambience::start(settings);
    fake.advanceBy(Ambience::readDelay);
    audio->finishReads();
    ASSERT_TRUE(pumpUntil([&] { return fake.queue->liveTimerCount() > 0; })) << "the decoded track never played";
    expectOutputReaches(0.0f, 0.0f);

    float previous = 0.0f;
    for (int step = 1; step <= 90; ++step) {
        // Step k falls due at (k - 1) / 30 s; a little past it, so that no rounding of the clock misses it.
        fake.advanceBy(Ambience::readDelay + (step - 1) / 30.0 + 1e-6 - fake.queue->now());
        double t = step / 90.0;
        auto expected = static_cast<float>(0.6 * t * t * (3 - 2 * t));
        expectOutputReaches(previous, expected);
        previous = expected;
    }
    EXPECT_EQ(fake.audio->record().volumeSets.size(), 0u) << "the fake audio system was not asked";
}

} // namespace
