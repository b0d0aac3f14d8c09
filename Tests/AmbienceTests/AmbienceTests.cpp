#include <gtest/gtest.h>

#include "Platform/Fake/FakePlatform.hpp"
#include "Saver/Ambience.hpp"

#include <cmath>
#include <limits>

using namespace orrelith;
using namespace orrelith::platform;

namespace {

const std::filesystem::path resources = "/fake/Quorvane.saver/Contents/Resources";

Settings sound(double volume) {
    Settings settings;
    settings.soundVolume = volume;
    return settings;
}

double smoothstep(double t) { return t * t * (3 - 2 * t); }

class AmbienceTest : public ::testing::Test {
protected:
    AmbienceTest() {
        fake.system->codeBundle = Bundle{"/fake/Quorvane.saver", resources, {}, {}};
        fake.audio->files[resources / "ORVEX/sound/ambience.m4a"] = FakeAudioSystem::Track{{44100, 2}, 44100 * 8, true};
        Ambience::stillWanted = [this] { return wanted; };
    }
    ~AmbienceTest() override { Ambience::resetForTesting(); }

    const FakeAudioRecord& record() const { return fake.audio->record(); }
    // The volume sets from index `from` on.
    std::vector<FakeAudioRecord::VolumeSet> setsFrom(std::size_t from) const {
        const auto& sets = record().volumeSets;
        return {sets.begin() + static_cast<std::ptrdiff_t>(std::min(from, sets.size())), sets.end()};
    }
    // Checks a ramp of `steps` sets starting at `start` seconds, from `from` to `target`.
    void expectRamp(const std::vector<FakeAudioRecord::VolumeSet>& sets, double start, int steps, float from,
                    float target) const {
        ASSERT_EQ(sets.size(), static_cast<std::size_t>(steps));
        for (int k = 0; k < steps; ++k) {
            double expected = from + (target - from) * smoothstep(double(k + 1) / steps);
            EXPECT_NEAR(sets[k].time, start + k / 30.0, 1e-9) << "step " << k + 1;
            EXPECT_NEAR(sets[k].volume, expected, 1e-6) << "step " << k + 1;
        }
        EXPECT_EQ(sets.back().volume, target);
    }

    // Starts the sound and lets its decoding begin and answer: the fade-in starts now.
    void startDecoded(double volume) {
        Ambience::start(sound(volume));
        fake.advanceBy(Ambience::readDelay);
    }

    FakePlatform fake;
    bool wanted = true;
};

TEST_F(AmbienceTest, PlaysTheBundlesTrackOnOneLoopingPlayerFadingInOverThreeSecondsInNinetySmoothsteps) {
    Ambience::start(sound(0.6));
    fake.advanceBy(Ambience::readDelay - 0.001);
    EXPECT_TRUE(record().opens.empty()) << "the decoding waits for the first scenes";
    EXPECT_EQ(record().enginesMade, 0u) << "nothing plays before the track is decoded";
    fake.advanceBy(0.001);
    EXPECT_EQ(record().opens, std::vector<std::filesystem::path>{resources / "ORVEX/sound/ambience.m4a"});
    EXPECT_EQ(fake.system->record().codeLookups.size(), 1u);
    EXPECT_EQ(record().connections, std::vector<AudioFormat>{(AudioFormat{44100, 2})});
    EXPECT_EQ(record().schedules, std::vector<AudioPlayerNode::BufferOptions>{AudioPlayerNode::BufferOptions::loops});
    EXPECT_EQ(record().plays, 1u);
    EXPECT_EQ(record().engineStarts, 1u);
    ASSERT_FALSE(record().volumeSets.empty());
    EXPECT_EQ(record().volumeSets[0], (FakeAudioRecord::VolumeSet{Ambience::readDelay, 0.0f}));
    EXPECT_TRUE(fake.audio->isAudible());

    fake.advanceBy(10);
    expectRamp(setsFrom(1), Ambience::readDelay, 90, 0.0f, 0.6f);
    EXPECT_EQ(fake.audio->audibleVolume(), 0.6f);
}

TEST_F(AmbienceTest, SecondStartWhilePlayingGlidesOverOneSecondFromTheVolumeReachedExactlyToTheTarget) {
    startDecoded(0.6);
    fake.advanceBy(1.5);
    std::size_t before = record().volumeSets.size();
    float reached = record().volumeSets.back().volume;
    ASSERT_GT(reached, 0.0f);
    ASSERT_LT(reached, 0.6f);

    Ambience::start(sound(0.25));
    EXPECT_EQ(record().volumeSets.size(), before) << "the glide starts on a later turn, without a jump";
    fake.advanceBy(5);
    expectRamp(setsFrom(before), Ambience::readDelay + 1.5, 30, reached, 0.25f);
    EXPECT_EQ(record().enginesMade, 1u);
    EXPECT_EQ(record().decodes, 1u);

    // The last step lands exactly on the target where the curve would round past it.
    struct Case {
        double from, to;
    };
    for (Case c : {Case{0.6, 0.2}, Case{1.0, 0.33}, Case{0.35, 0.91}}) {
        Ambience::start(sound(c.from));
        fake.advanceBy(4);
        Ambience::start(sound(c.to));
        fake.advanceBy(2);
        EXPECT_EQ(record().volumeSets.back().volume, static_cast<float>(c.to)) << c.from << " to " << c.to;
        Ambience::stop();
    }
}

TEST_F(AmbienceTest, StopHalfwayThroughTheFadeSilencesAtOnceAndSetsNoFurtherVolume) {
    startDecoded(0.6);
    fake.advanceBy(1.5);
    std::size_t sets = record().volumeSets.size();

    Ambience::stop();
    EXPECT_FALSE(fake.audio->isAudible());
    EXPECT_EQ(fake.audio->runningEngines(), 0u);
    EXPECT_EQ(record().playerStops, 1u);
    EXPECT_EQ(record().engineStops, 1u);
    fake.advanceBy(10);
    EXPECT_EQ(record().volumeSets.size(), sets);
    EXPECT_EQ(fake.queue->liveTimerCount(), 0u);
}

TEST_F(AmbienceTest, WatchdogStopsTheSoundAtItsNextSecondAfterStillWantedTurnsFalseAndNotBefore) {
    startDecoded(0.6);
    Ambience::stop();
    for (double off : {0.25, 1.5, 2.75, 7.1}) {
        Ambience::start(sound(0.6));
        double started = fake.queue->now();
        fake.advanceBy(off);
        wanted = false;
        double due = std::floor(off) + 1.0;
        fake.advanceBy(due - off - 0.001);
        EXPECT_TRUE(fake.audio->isAudible()) << "turned off at " << off;
        fake.advanceBy(0.001);
        EXPECT_FALSE(fake.audio->isAudible()) << "turned off at " << off;
        EXPECT_LE(fake.queue->now() - started - off, 1.0 + 1e-9);
        EXPECT_EQ(fake.queue->liveTimerCount(), 0u);
        wanted = true;
    }
}

TEST_F(AmbienceTest, WatchdogKeepsTheSoundWhileWantedIsNotReArmedByAGlideAndWantsNothingBeforeAViewSaysSo) {
    startDecoded(0.6);
    fake.advanceBy(60.5);
    EXPECT_TRUE(fake.audio->isAudible());

    Ambience::start(sound(0.4));
    wanted = false;
    fake.advanceBy(0.499);
    EXPECT_TRUE(fake.audio->isAudible());
    fake.advanceBy(0.001);
    EXPECT_FALSE(fake.audio->isAudible()) << "the tick at 61 s, not one second after the glide";

    // Until a view sets it, nothing wants the sound: a decoded track is not played.
    Ambience::resetForTesting();
    std::size_t engines = record().enginesMade;
    Ambience::start(sound(0.6));
    fake.advanceBy(Ambience::readDelay + 1);
    EXPECT_FALSE(fake.audio->isAudible());
    EXPECT_EQ(record().enginesMade, engines);
}

TEST_F(AmbienceTest, SoundOffOrNoVolumeStopsAtOnce) {
    Settings soundOff;
    soundOff.sound = false;
    startDecoded(0.6);
    for (Settings off : {soundOff, sound(0.0), sound(-0.5), sound(std::numeric_limits<double>::quiet_NaN())}) {
        Ambience::start(sound(0.6));
        fake.advanceBy(1);
        std::size_t sets = record().volumeSets.size();
        Ambience::start(off);
        EXPECT_FALSE(fake.audio->isAudible()) << off.soundVolume;
        fake.advanceBy(5);
        EXPECT_EQ(record().volumeSets.size(), sets) << off.soundVolume;
        EXPECT_EQ(fake.queue->liveTimerCount(), 0u);
    }
    std::size_t engines = record().enginesMade;
    Ambience::start(sound(0.0));
    EXPECT_EQ(record().enginesMade, engines) << "silence needs no graph";
}

TEST_F(AmbienceTest, TrackThatCannotBeHadLeavesSilenceAndTheNextStartLoadsAgain) {
    enum class Fault { noBundle, noResourceFolder, missing, unreadable, empty };
    for (Fault fault : {Fault::noBundle, Fault::noResourceFolder, Fault::missing, Fault::unreadable, Fault::empty}) {
        Ambience::resetForTesting();
        Ambience::stillWanted = [this] { return wanted; };
        auto track = resources / "ORVEX/sound/ambience.m4a";
        auto good = fake.system->codeBundle;
        auto goodTrack = fake.audio->files[track];
        if (fault == Fault::noBundle)
            fake.system->codeBundle.reset();
        if (fault == Fault::noResourceFolder)
            fake.system->codeBundle->resourcePath.reset();
        if (fault == Fault::missing)
            fake.audio->files.erase(track);
        if (fault == Fault::unreadable)
            fake.audio->files[track].readable = false;
        if (fault == Fault::empty)
            fake.audio->files[track].length = 0;
        std::size_t engines = record().enginesMade;
        std::size_t lookups = fake.system->record().codeLookups.size();

        Ambience::start(sound(0.6));
        fake.advanceBy(Ambience::readDelay);
        Ambience::start(sound(0.6));
        fake.advanceBy(Ambience::readDelay);
        EXPECT_FALSE(fake.audio->isAudible());
        EXPECT_EQ(record().enginesMade, engines);
        EXPECT_EQ(fake.queue->liveTimerCount(), 0u);
        EXPECT_EQ(fake.system->record().codeLookups.size(), lookups + 2) << "each start tries to load";

        fake.system->codeBundle = good;
        fake.audio->files[track] = goodTrack;
        startDecoded(0.6);
        EXPECT_TRUE(fake.audio->isAudible()) << static_cast<int>(fault);
    }
}

TEST_F(AmbienceTest, EngineThatCannotStartLeavesSilenceAndKeepsTheDecodedTrackForTheNextStart) {
    fake.audio->enginesFailToStart = true;
    startDecoded(0.6);
    EXPECT_FALSE(fake.audio->isAudible());
    EXPECT_EQ(record().failedStarts, 1u);
    EXPECT_EQ(record().plays, 0u);
    fake.advanceBy(5);
    EXPECT_EQ(fake.queue->liveTimerCount(), 0u) << "no watchdog, no ramp";
    EXPECT_EQ(record().volumeSets.size(), 1u) << "only the silence set before starting";

    fake.audio->enginesFailToStart = false;
    Ambience::start(sound(0.6));
    EXPECT_TRUE(fake.audio->isAudible());
    EXPECT_EQ(record().engineStarts, 2u);
    EXPECT_EQ(record().decodes, 1u);
}

TEST_F(AmbienceTest, DecodedTrackIsKeptAcrossStopsAndNeverDecodedAgain) {
    // Stopped while decoding: the track is kept and nothing plays.
    Ambience::start(sound(0.6));
    Ambience::stop();
    fake.advanceBy(Ambience::readDelay);
    ASSERT_FALSE(fake.audio->isAudible());
    EXPECT_EQ(record().enginesMade, 0u);

    Ambience::start(sound(0.5));
    EXPECT_TRUE(fake.audio->isAudible()) << "at once: the track is already decoded";
    Ambience::stop();
    Ambience::start(sound(0.7));
    EXPECT_TRUE(fake.audio->isAudible());
    EXPECT_EQ(record().decodes, 1u);
    EXPECT_EQ(record().opens.size(), 1u);
    EXPECT_EQ(record().enginesMade, 2u);
}

TEST_F(AmbienceTest, PlayerThatLostItsOutputIsRebuiltAndFadedInAgainByTheNextStart) {
    startDecoded(0.6);
    fake.advanceBy(4);
    fake.audio->loseOutput();
    ASSERT_FALSE(fake.audio->isAudible());
    std::size_t before = record().volumeSets.size();

    Ambience::start(sound(0.6));
    EXPECT_TRUE(fake.audio->isAudible());
    EXPECT_EQ(record().enginesMade, 2u);
    EXPECT_EQ(record().decodes, 1u);
    fake.advanceBy(4);
    auto sets = setsFrom(before + 1);
    expectRamp(sets, Ambience::readDelay + 4.0, 90, 0.0f, 0.6f);
}

} // namespace
