// Measures, on the real GStreamer implementation, the process CPU time (every thread) of
//   - decoding the ambience track whole into memory, and
//   - one minute of looping it from memory into a null output, at the track's rate (nothing converted) and
//     at 44.1 kHz (resampled, as for a device that runs at another rate),
// and the wall time of an engine start that fails because there is no audio device.
//
//   ambience-bench [--track=FILE] [benchmark flags]     (default: the track shipped in the bundle)
#include "Platform/Audio/AudioPCMBuffer.hpp"
#include "Platform/Linux/Audio/GstAudioCapture.hpp"
#include "Platform/Linux/Audio/GstAudioSystem.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace orrelith::platform;

namespace {

std::string trackPath = ORRELITH_AMBIENCE_TRACK;

// The benchmarks run no main loop: work posted from GStreamer's threads (errors) is dropped.
class NoQueue : public MainQueue {
public:
    void async(std::function<void()>) override {}
    void asyncAfter(double, std::function<void()>) override {}
    std::shared_ptr<RepeatingTimer> scheduleRepeating(double, std::function<void()>) override { return nullptr; }
    std::shared_ptr<DispatchTimer> makeDispatchTimer() override { return nullptr; }
};

std::shared_ptr<AudioPCMBuffer> decode(AudioSystem& audio) {
    auto file = audio.openFileForReading(trackPath);
    if (!file)
        return nullptr;
    auto buffer = AudioPCMBuffer::create(file->processingFormat(), static_cast<AudioFrameCount>(file->length()));
    if (!buffer || !file->readIntoBuffer(*buffer))
        return nullptr;
    return buffer;
}

void decodeWholeTrack(benchmark::State& state) {
    GstAudioSystem audio({}, std::make_shared<NoQueue>());
    std::shared_ptr<AudioPCMBuffer> buffer;
    for (auto _ : state) {
        buffer = decode(audio);
        if (!buffer)
            return state.SkipWithError(("cannot decode " + trackPath).c_str());
    }
    state.counters["frames"] = buffer->frameLength();
    state.counters["audio_s"] = buffer->frameLength() / buffer->format().sampleRate;
}

void loopedPlaybackOneMinute(benchmark::State& state) {
    auto queue = std::make_shared<NoQueue>();
    auto buffer = decode(*std::make_shared<GstAudioSystem>(GstAudioOutput{}, queue));
    if (!buffer)
        return state.SkipWithError(("cannot decode " + trackPath).c_str());
    double outputRate = state.range(0) ? static_cast<double>(state.range(0)) : buffer->format().sampleRate;
    auto capture = GstAudioCapture::create({outputRate, buffer->format().channelCount});
    GstAudioSystem audio(capture->output(), queue);
    auto frames = static_cast<std::size_t>(60 * outputRate);
    for (auto _ : state) {
        auto engine = audio.makeEngine();
        auto player = audio.makePlayerNode();
        engine->attach(player);
        engine->connectToMainMixer(player, buffer->format());
        engine->mainMixerNode()->setOutputVolume(0.6f);
        if (!engine->start())
            return state.SkipWithError("the engine did not start");
        player->scheduleBuffer(buffer, AudioPlayerNode::BufferOptions::loops);
        player->play();
        if (capture->discard(frames) < frames)
            return state.SkipWithError("the output stopped before a minute had played");
        engine->stop();
    }
    state.counters["output_Hz"] = outputRate;
}

void failedStartWithoutDevice(benchmark::State& state) {
    GstAudioSystem audio(GstAudioOutput::system(), std::make_shared<NoQueue>());
    for (auto _ : state) {
        auto engine = audio.makeEngine();
        auto player = audio.makePlayerNode();
        engine->attach(player);
        engine->connectToMainMixer(player, {48000, 2});
        if (engine->start())
            return state.SkipWithError("an audio device is present");
    }
}

// No sound server at a socket that does not exist, and an ALSA configuration with no device.
void hideAudioDevices(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "alsa.conf") << "# no devices\n";
    setenv("PULSE_SERVER", ("unix:" + (folder / "no-server").string()).c_str(), 1);
    setenv("ALSA_CONFIG_PATH", (folder / "alsa.conf").c_str(), 1);
}

} // namespace

BENCHMARK(decodeWholeTrack)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(loopedPlaybackOneMinute)
    ->Arg(0)
    ->Arg(44100)
    ->ArgName("output_rate")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(failedStartWithoutDevice)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--track=", 8) == 0)
            trackPath = argv[i] + 8;
        else
            rest.push_back(argv[i]);
    }
    auto folder = std::filesystem::temp_directory_path() / ("ambience-bench-" + std::to_string(getpid()));
    hideAudioDevices(folder);
    int count = static_cast<int>(rest.size());
    benchmark::Initialize(&count, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
