#pragma once

#include "OrrelithCore/Settings.hpp"

#include <filesystem>
#include <functional>

namespace orrelith {

// The ambient sound: one track looping under all displays for the life of the process. The track is decoded
// once, away from the main thread and `readDelay` after the first start, and kept; `start` builds the audio
// graph and fades in once it is decoded (if the sound is still wanted then), or glides a playing sound to a
// new volume; `stop` silences at once and cancels a fade-in that waits for the decoding. A one-second
// watchdog stops the sound once `stillWanted` answers false. Every failure ends in silence; nothing is
// reported.
//
// No instances: operations over process-wide state. Main thread only. The decoding answers, and the volume
// ramp and the watchdog run, on the main queue, so nothing here calls back synchronously.
struct Ambience {
    // The track, relative to the resource folder of the bundle that holds this code.
    static constexpr const char* trackPath = "ORVEX/sound/ambience.m4a";
    // Ramp updates per second.
    static constexpr double rampRate = 30.0;
    static constexpr double fadeInSeconds = 3.0;
    static constexpr double glideSeconds = 1.0;
    static constexpr double watchdogPeriod = 1.0;
    // How long after the first start the track's decoding begins. The sound fades in from silence, while
    // the first scenes' pages need every processor there is: on two cores, decoding beside them shows
    // the scenes a tenth of a second later.
    static constexpr double readDelay = 2.0;

    // Asked by the watchdog every second while sound plays; false stops the sound. Its initial value
    // answers false; the saver view installs the real predicate. An empty function counts as false.
    static std::function<bool()> stillWanted;

    // Makes the sound match `settings`: off or a volume of 0 stops it; a playing sound glides to the new
    // volume over a second; otherwise the track is loaded (once), played in a loop and faded in.
    static void start(const Settings& settings);
    // Silences at once and releases the graph; the decoded track stays.
    static void stop();

    // For tests only: stops, forgets the decoded track and restores the initial `stillWanted`, so that each
    // test starts from a fresh process's state.
    static void resetForTesting();

private:
    static void ramp(float target, double duration);
    static void watch();
    static void load();
    static void read(const std::filesystem::path& track, unsigned generation);
    static void play();
};

} // namespace orrelith
