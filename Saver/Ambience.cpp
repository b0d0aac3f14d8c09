#include "Saver/Ambience.hpp"

#include "Platform/Audio/AudioSystem.hpp"
#include "Platform/System/System.hpp"
#include "Platform/System/MainQueue.hpp"
#include "Platform/Platform.hpp"

#include <algorithm>
#include <optional>
#include <utility>

namespace orrelith {

namespace {

using platform::AudioEngine;
using platform::AudioPCMBuffer;
using platform::AudioPlayerNode;
using platform::DispatchTimer;

struct State {
    std::shared_ptr<AudioEngine> engine;
    std::shared_ptr<AudioPlayerNode> player;
    std::shared_ptr<AudioPCMBuffer> buffer;
    std::shared_ptr<DispatchTimer> fade;
    std::shared_ptr<DispatchTimer> watchdog;
    // The volume to fade in to once the track is decoded; nothing once stopped.
    std::optional<float> awaited;
    bool loading = false;
    // Tells a decoding asked for before a reset from the current one.
    unsigned generation = 0;
};

State& state() {
    static State shared;
    return shared;
}

void cancel(std::shared_ptr<DispatchTimer>& timer) {
    if (timer)
        timer->cancel();
    timer.reset();
}

bool neverWanted() { return false; }

bool wanted() { return Ambience::stillWanted && Ambience::stillWanted(); }

// Slow at both ends; the last step is the target itself, which the float formula can miss by a rounding.
float rampVolume(float from, float target, int tick, int steps) {
    if (tick >= steps)
        return target;
    float t = static_cast<float>(tick) / static_cast<float>(steps);
    return from + (target - from) * t * t * (3.0f - 2.0f * t);
}

struct Graph {
    std::shared_ptr<AudioEngine> engine;
    std::shared_ptr<AudioPlayerNode> player;
};

// A new engine looping `buffer` at volume 0, or nothing (and nothing left running) when it cannot start.
std::optional<Graph> playingGraph(const std::shared_ptr<AudioPCMBuffer>& buffer) {
    Graph graph{platform::audio().makeEngine(), platform::audio().makePlayerNode()};
    if (!graph.engine || !graph.player)
        return std::nullopt;
    graph.engine->attach(graph.player);
    graph.engine->connectToMainMixer(graph.player, buffer->format());
    auto mixer = graph.engine->mainMixerNode();
    // Without a mixer the sound would come at full level with no fade: rather none.
    if (!mixer)
        return std::nullopt;
    mixer->setOutputVolume(0);
    if (!graph.engine->start())
        return std::nullopt;
    graph.player->scheduleBuffer(buffer, AudioPlayerNode::BufferOptions::loops);
    graph.player->play();
    return graph;
}

// An address inside this library, by which the platform finds the bundle that holds this code.
const void* codeAddress() { return reinterpret_cast<const void*>(&neverWanted); }

} // namespace

std::function<bool()> Ambience::stillWanted = neverWanted;

void Ambience::start(const Settings& settings) {
    if (!settings.sound || !(settings.soundVolume > 0)) {
        stop();
        return;
    }
    auto target = static_cast<float>(settings.soundVolume);
    auto& s = state();
    if (s.player && s.player->isPlaying()) {
        ramp(target, glideSeconds);
        return;
    }
    s.awaited = target;
    if (s.buffer)
        play();
    else
        load();
}

void Ambience::play() {
    auto& s = state();
    if (!s.awaited)
        return;
    auto graph = playingGraph(s.buffer);
    if (!graph)
        return;
    s.engine = std::move(graph->engine);
    s.player = std::move(graph->player);
    ramp(*std::exchange(s.awaited, std::nullopt), fadeInSeconds);
    watch();
}

void Ambience::stop() {
    auto& s = state();
    s.awaited.reset();
    cancel(s.fade);
    cancel(s.watchdog);
    if (s.player)
        s.player->stop();
    if (s.engine)
        s.engine->stop();
    s.player.reset();
    s.engine.reset();
}

void Ambience::resetForTesting() {
    stop();
    auto& s = state();
    s.buffer.reset();
    s.loading = false;
    ++s.generation;
    stillWanted = neverWanted;
}

void Ambience::ramp(float target, double duration) {
    auto& s = state();
    cancel(s.fade);
    if (!s.engine || !s.engine->mainMixerNode())
        return;
    float from = s.engine->mainMixerNode()->outputVolume();
    int steps = std::max(1, static_cast<int>(duration * rampRate));
    auto timer = platform::mainQueue().makeDispatchTimer();
    auto tick = std::make_shared<int>(0);
    timer->setEventHandler([weak = std::weak_ptr<DispatchTimer>(timer), tick, from, target, steps] {
        auto self = weak.lock();
        auto& s = state();
        if (!self || self != s.fade || !s.engine || !s.engine->mainMixerNode())
            return;
        ++*tick;
        s.engine->mainMixerNode()->setOutputVolume(rampVolume(from, target, *tick, steps));
        if (*tick >= steps)
            cancel(s.fade);
    });
    timer->schedule(0, duration / steps, 0);
    s.fade = timer;
    timer->resume();
}

void Ambience::watch() {
    auto& s = state();
    cancel(s.watchdog);
    auto timer = platform::mainQueue().makeDispatchTimer();
    timer->setEventHandler([weak = std::weak_ptr<DispatchTimer>(timer)] {
        auto self = weak.lock();
        if (!self || self != state().watchdog)
            return;
        if (!wanted())
            stop();
    });
    timer->schedule(watchdogPeriod, watchdogPeriod, 0);
    s.watchdog = timer;
    timer->resume();
}

// Decoded away from the main thread, once the first scenes have had the processors to themselves.
void Ambience::load() {
    auto& s = state();
    if (s.loading)
        return;
    auto bundle = platform::system().bundleContaining(codeAddress());
    if (!bundle || !bundle->resourcePath)
        return;
    s.loading = true;
    platform::mainQueue().asyncAfter(readDelay, [generation = s.generation, track = *bundle->resourcePath / trackPath] {
        if (generation == state().generation)
            read(track, generation);
    });
}

void Ambience::read(const std::filesystem::path& track, unsigned generation) {
    platform::audio().readWholeFile(track, [generation](std::shared_ptr<AudioPCMBuffer> buffer) {
        auto& s = state();
        if (generation != s.generation)
            return;
        s.loading = false;
        s.buffer = std::move(buffer);
        if (s.buffer && s.awaited && wanted())
            play();
    });
}

} // namespace orrelith
