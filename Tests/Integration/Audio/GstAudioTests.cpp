#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include "Platform/Audio/AudioPCMBuffer.hpp"
#include "Platform/Linux/Audio/GstAudioCapture.hpp"
#include "Platform/Linux/Audio/GstAudioEngine.hpp"
#include "Platform/Linux/Audio/GstAudioSystem.hpp"
#include "../Platform/MainLoopSupport.hpp"
#include "Platform/Linux/System/GlibMainQueue.hpp"
#include "TrackMaker.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

using namespace orrelith::platform;
namespace fs = std::filesystem;

namespace {

class GstAudioTest : public ::testing::Test {
protected:
    std::shared_ptr<AudioPCMBuffer> decode(const Track& track) {
        auto file = GstAudioSystem({}, queue).openFileForReading(track.file);
        if (!file)
            return nullptr;
        auto buffer = AudioPCMBuffer::create(file->processingFormat(), static_cast<AudioFrameCount>(file->length()));
        if (!buffer || !file->readIntoBuffer(*buffer))
            return nullptr;
        return buffer;
    }

    // Plays `buffer` into a capture and answers the engine, the node and the capture.
    struct Playing {
        std::shared_ptr<GstAudioCapture> capture;
        std::shared_ptr<AudioEngine> engine;
        std::shared_ptr<AudioPlayerNode> player;
    };
    Playing play(std::shared_ptr<const AudioPCMBuffer> buffer, AudioPlayerNode::BufferOptions options,
                 std::optional<GstAudioOutput> output = std::nullopt) {
        Playing playing{GstAudioCapture::create(buffer->format()), nullptr, nullptr};
        GstAudioSystem audio(output ? *output : playing.capture->output(), queue);
        playing.engine = audio.makeEngine();
        playing.player = audio.makePlayerNode();
        playing.engine->attach(playing.player);
        playing.engine->connectToMainMixer(playing.player, buffer->format());
        EXPECT_TRUE(playing.engine->start());
        playing.player->scheduleBuffer(std::move(buffer), options);
        playing.player->play();
        EXPECT_TRUE(playing.player->isPlaying());
        return playing;
    }

    std::shared_ptr<MainQueue> queue = std::make_shared<GlibMainQueue>();
    orrelith::testing::TemporaryFolder folder;
};

TEST_F(GstAudioTest, AlacTrackDecodesToExactlyItsFramesAndSamples) {
    struct Case {
        AudioFormat format;
        int buffers, framesPerBuffer;
    };
    for (Case c : {Case{{44100, 2}, 40, 1103}, Case{{48000, 1}, 7, 4097}, Case{{22050, 2}, 1, 333}}) {
        auto track = makeTrack(folder / "track.m4a", c.format, c.buffers, c.framesPerBuffer, "sine freq=441 volume=0.8");
        ASSERT_EQ(track.samples.size(), track.frames * c.format.channelCount) << "the tools made no track";

        auto file = GstAudioSystem({}, queue).openFileForReading(track.file);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->processingFormat(), c.format);
        EXPECT_EQ(file->length(), static_cast<AudioFramePosition>(track.frames));
        auto buffer = decode(track);
        ASSERT_TRUE(buffer);
        ASSERT_EQ(buffer->frameLength(), track.frames);
        std::size_t mismatches = 0;
        for (std::size_t i = 0; i < track.samples.size(); ++i)
            mismatches += buffer->samples()[i] != track.samples[i];
        EXPECT_EQ(mismatches, 0u) << c.format.sampleRate << " Hz, " << track.frames << " frames";
    }
}

TEST_F(GstAudioTest, ReadsContinueWhereTheLastEndedUntilTheFileEndsAndWhatIsNoAudioOpensAsNothing) {
    auto track = makeTrack(folder / "track.m4a", {48000, 2}, 3, 1000, "sine freq=300");
    auto file = GstAudioSystem({}, queue).openFileForReading(track.file);
    ASSERT_TRUE(file);
    auto part = AudioPCMBuffer::create({48000, 2}, 2500);
    ASSERT_TRUE(file->readIntoBuffer(*part));
    EXPECT_EQ(part->frameLength(), 2500u);
    EXPECT_EQ(part->samples()[2 * 2499], track.samples[2 * 2499]);
    ASSERT_TRUE(file->readIntoBuffer(*part));
    EXPECT_EQ(part->frameLength(), 500u);
    EXPECT_EQ(part->samples()[0], track.samples[2 * 2500]);
    EXPECT_FALSE(file->readIntoBuffer(*AudioPCMBuffer::create({44100, 2}, 10))) << "another format";

    std::ofstream(folder / "empty.m4a");
    std::ofstream(folder / "text.m4a") << "not audio at all, just words\n";
    fs::create_directory(folder / "folder.m4a");
    for (const char* name : {"missing.m4a", "empty.m4a", "text.m4a", "folder.m4a"})
        EXPECT_FALSE(GstAudioSystem({}, queue).openFileForReading(folder / name)) << name;
}

TEST_F(GstAudioTest, LoopFromMemoryJoinsTheTrackEndToItsStartWithoutAGap) {
    // 1.1 periods of 441 Hz short of a whole number: the last sample is far from the first.
    auto buffer = decode(makeTrack(folder / "track.m4a", {44100, 2}, 3, 3313, "sine freq=441 volume=0.8"));
    ASSERT_TRUE(buffer);
    std::size_t length = buffer->frameLength();
    auto playing = play(buffer, AudioPlayerNode::BufferOptions::loops);

    auto out = playing.capture->pull(length * 5 / 2);
    ASSERT_EQ(out.size(), length * 5 / 2 * 2);
    std::size_t mismatches = 0;
    for (std::size_t i = 0; i < out.size(); ++i)
        mismatches += out[i] != buffer->samples()[i % (length * 2)];
    EXPECT_EQ(mismatches, 0u) << "every sample, the two seams included";
}

TEST_F(GstAudioTest, BufferWithoutLoopingPlaysOnceThenSilence) {
    auto buffer = decode(makeTrack(folder / "track.m4a", {48000, 1}, 2, 1500, "sine freq=200"));
    ASSERT_TRUE(buffer);
    auto playing = play(buffer, AudioPlayerNode::BufferOptions::none);
    auto out = playing.capture->pull(3000 + 4096);
    ASSERT_EQ(out.size(), 3000u + 4096u);
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 3000, buffer->samples()));
    EXPECT_TRUE(std::all_of(out.begin() + 3000, out.end(), [](float x) { return x == 0.0f; }));
    EXPECT_TRUE(playing.player->isPlaying());
}

TEST_F(GstAudioTest, StopEndsTheStreamAndPlayStartsAgainFromTheFirstFrame) {
    auto buffer = decode(makeTrack(folder / "track.m4a", {48000, 1}, 4, 1000, "sine freq=200"));
    ASSERT_TRUE(buffer);
    auto playing = play(buffer, AudioPlayerNode::BufferOptions::loops);
    playing.capture->pull(2500);
    playing.player->stop();
    EXPECT_FALSE(playing.player->isPlaying());
    EXPECT_EQ(static_cast<GstAudioEngine&>(*playing.engine).pipelineState(), "READY");
    playing.capture->drain();

    playing.player->scheduleBuffer(buffer, AudioPlayerNode::BufferOptions::loops);
    playing.player->play();
    auto out = playing.capture->pull(1000);
    ASSERT_EQ(out.size(), 1000u);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), buffer->samples()));

    playing.engine->stop();
    EXPECT_FALSE(playing.player->isPlaying());
    EXPECT_EQ(static_cast<GstAudioEngine&>(*playing.engine).pipelineState(), "NULL");
}

TEST_F(GstAudioTest, MixerVolumeScalesEveryBufferThatFollows) {
    auto buffer = decode(makeTrack(folder / "track.m4a", {48000, 2}, 10, 4800, "square freq=5 volume=0.5"));
    ASSERT_TRUE(buffer);
    float level = std::abs(buffer->samples()[0]);
    auto playing = play(buffer, AudioPlayerNode::BufferOptions::loops);
    auto mixer = playing.engine->mainMixerNode();
    for (float volume : {0.25f, 0.0f, 0.8f, 1.0f, 1.7f}) {
        mixer->setOutputVolume(volume);
        EXPECT_EQ(mixer->outputVolume(), volume);
        float applied = std::min(volume, 1.0f);
        std::vector<float> out;
        for (int pulls = 0; pulls < 8; ++pulls) {
            out = playing.capture->pullBuffer();
            if (!out.empty() && std::abs(std::abs(out[0]) - level * applied) < 1e-6f)
                break;
        }
        ASSERT_FALSE(out.empty());
        for (float x : out)
            ASSERT_NEAR(std::abs(x), level * applied, 1e-6f) << "volume " << volume;
    }
}

TEST_F(GstAudioTest, OutputFailingWhilePlayingStopsTheEngineOnTheMainQueue) {
    auto buffer = decode(makeTrack(folder / "track.m4a", {48000, 2}, 2, 1000, "sine"));
    ASSERT_TRUE(buffer);
    auto playing = play(buffer, AudioPlayerNode::BufferOptions::loops,
                        GstAudioOutput::described("identity error-after=20 ! fakesink sync=false"));
    ASSERT_TRUE(playing.player->isPlaying()) << "the error has not reached the main thread yet";
    ASSERT_TRUE(pumpUntil([&] { return !playing.engine->isRunning(); }, 10));
    EXPECT_FALSE(playing.player->isPlaying());
    EXPECT_EQ(static_cast<GstAudioEngine&>(*playing.engine).pipelineState(), "NULL");
}

} // namespace
