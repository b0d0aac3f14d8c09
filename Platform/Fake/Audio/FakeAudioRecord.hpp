#pragma once

#include "Platform/Audio/AudioFormat.hpp"
#include "Platform/Audio/AudioPlayerNode.hpp"

#include <cstddef>
#include <filesystem>
#include <vector>

namespace orrelith::platform {

// What the fake audio system was asked, across all its files, engines, nodes and mixers.
struct FakeAudioRecord {
    struct VolumeSet {
        // Virtual time of the set, in seconds (FakeMainQueue::now()).
        double time = 0;
        float volume = 0;
        friend bool operator==(const VolumeSet&, const VolumeSet&) = default;
    };

    std::vector<std::filesystem::path> opens;
    // Reads of a file into a buffer.
    std::size_t decodes = 0;
    std::size_t enginesMade = 0;
    std::size_t playersMade = 0;
    // Every call of start, and those of them that failed.
    std::size_t engineStarts = 0;
    std::size_t failedStarts = 0;
    std::size_t engineStops = 0;
    std::vector<AudioFormat> connections;
    std::vector<AudioPlayerNode::BufferOptions> schedules;
    std::size_t plays = 0;
    std::size_t playerStops = 0;
    // Every output volume set on any engine's main mixer, in order.
    std::vector<VolumeSet> volumeSets;
};

} // namespace orrelith::platform
