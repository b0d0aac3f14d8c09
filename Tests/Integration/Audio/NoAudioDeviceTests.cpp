#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>
#include <gst/gst.h>

#include "Platform/Fake/FakePlatform.hpp"
#include "Platform/Linux/Audio/GstAudioEngine.hpp"
#include "Platform/Linux/Audio/GstAudioSystem.hpp"
#include "Saver/Ambience.hpp"
#include "Platform/Linux/System/GlibMainQueue.hpp"
#include "TrackMaker.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace orrelith;
using namespace orrelith::platform;
namespace fs = std::filesystem;

namespace {

std::size_t threadCount() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

// The system output with no device behind it, whatever this machine has: the sound server is looked for
// at a socket that does not exist, and ALSA reads a configuration that defines no device.
class NoAudioDeviceTest : public ::testing::Test {
protected:
    NoAudioDeviceTest() {
        std::ofstream(folder / "alsa.conf") << "# no devices\n";
        setenv("PULSE_SERVER", ("unix:" + (folder / "no-server").string()).c_str(), 1);
        setenv("ALSA_CONFIG_PATH", (folder / "alsa.conf").c_str(), 1);
    }

    std::shared_ptr<GstAudioEngine> connectedEngine(GstAudioSystem& audio, std::shared_ptr<AudioPlayerNode>& player) {
        auto engine = std::static_pointer_cast<GstAudioEngine>(audio.makeEngine());
        player = audio.makePlayerNode();
        engine->attach(player);
        engine->connectToMainMixer(player, {48000, 2});
        return engine;
    }

    std::shared_ptr<MainQueue> queue = std::make_shared<GlibMainQueue>();
    orrelith::testing::TemporaryFolder folder;
};

TEST_F(NoAudioDeviceTest, EngineStartFailsAndLeavesNoPipelineOrThreadRunning) {
    GstAudioSystem audio(GstAudioOutput::system(), queue);
    std::shared_ptr<AudioPlayerNode> player;
    // A first failure loads the sinks' libraries and whatever threads they keep for the process.
    connectedEngine(audio, player)->start();
    std::size_t threads = threadCount();

    auto engine = connectedEngine(audio, player);
    EXPECT_FALSE(engine->start());
    EXPECT_FALSE(engine->isRunning());
    EXPECT_EQ(engine->pipelineState(), "NULL");
    player->play();
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(engine->pipelineState(), "NULL");
    EXPECT_EQ(threadCount(), threads);
    EXPECT_FALSE(engine->start()) << "and fails again, the same way";
    EXPECT_EQ(threadCount(), threads);
}

TEST_F(NoAudioDeviceTest, ASinkThatFailedToOpenIsFreedAtOnce) {
    int alive = 0;
    GstAudioOutput output{{[&alive]() -> GstElement* {
        GstElement* sink = gst_element_factory_make("alsasink", nullptr);
        ++alive;
        g_object_weak_ref(G_OBJECT(sink), [](gpointer count, GObject*) { --*static_cast<int*>(count); }, &alive);
        return sink;
    }}};
    GstAudioSystem audio(output, queue);
    std::shared_ptr<AudioPlayerNode> player;
    for (int start = 0; start < 2; ++start)
        EXPECT_FALSE(connectedEngine(audio, player)->start());
    EXPECT_EQ(alive, 0) << "the error message it posted still holds it";
}

TEST_F(NoAudioDeviceTest, AmbienceStaysSilentAndArmsNothing) {
    FakePlatform fake;
    auto resources = folder / "Quorvane.saver/Contents/Resources";
    fs::create_directories(resources / "ORVEX/sound");
    auto track = makeTrack(resources / "ORVEX/sound/ambience.m4a", {48000, 2}, 2, 4800, "sine");
    ASSERT_EQ(track.samples.size(), 2u * 9600u);
    fake.system->codeBundle = Bundle{folder / "Quorvane.saver", resources, {}, {}};
    Services services = installed();
    auto audio = std::make_shared<GstAudioSystem>(GstAudioOutput::system(), queue);
    services.audio = audio;
    install(services);

    Settings settings;
    Ambience::stillWanted = [] { return true; };
    Ambience::start(settings);
    fake.advanceBy(Ambience::readDelay);
    audio->finishReads();
    // Every answer queued is dispatched in one pass.
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    EXPECT_EQ(fake.queue->liveTimerCount(), 0u);
    fake.advanceBy(5);
    EXPECT_EQ(fake.queue->record().dispatchTimersMade, 0u);
    Ambience::resetForTesting();
}

} // namespace
