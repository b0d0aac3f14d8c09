#pragma once

#include "Platform/Audio/AudioFormat.hpp"
#include "Platform/Audio/AudioPCMBuffer.hpp"
#include "Platform/Audio/AudioPlayerNode.hpp"

#include <cstdint>
#include <memory>
#include <mutex>

typedef struct _GstAppSrc GstAppSrc;
typedef struct _GstBuffer GstBuffer;

namespace orrelith::platform {

// What a player node plays, cut into chunks for an appsrc: the scheduled buffer from its first frame, round
// and round for a looping buffer (its last frame directly followed by its first, even inside one chunk),
// and silence when nothing (more) is scheduled, so the stream never starves. Chunks carry running
// timestamps and offsets counted in frames from the last rewind, so they join without a gap.
//
// Threads: the node configures it on the main thread; the appsrc's streaming thread pulls chunks. A mutex
// keeps the two apart; nothing here calls back.
class GstLoopFeed {
public:
    static constexpr AudioFrameCount chunkFrames = 1024;

    void setFormat(const AudioFormat& format);
    AudioFormat format() const;
    // False (and nothing changes) for a null or empty buffer, or one in another format than the feed's.
    bool schedule(std::shared_ptr<const AudioPCMBuffer> buffer, AudioPlayerNode::BufferOptions options);
    void clear();
    // Starts feeding: the next chunk starts at the buffer's first frame and at time 0.
    void restart();
    // Stops feeding: from now on no chunk is pushed, not even by a pull already under way, so none can
    // be left in the appsrc's queue once its pipeline has stopped.
    void halt();
    // Streaming thread: pushes the next chunk into `source`, while feeding.
    void pushNext(GstAppSrc* source);

private:
    void fill(float* out);
    void stamp(GstBuffer* chunk);

    mutable std::mutex mutex_;
    AudioFormat format_;
    std::shared_ptr<const AudioPCMBuffer> buffer_;
    AudioPlayerNode::BufferOptions options_ = AudioPlayerNode::BufferOptions::loops;
    AudioFrameCount position_ = 0;
    std::uint64_t framesOut_ = 0;
    bool feeding_ = false;
};

} // namespace orrelith::platform
