#pragma once

#include "Platform/Audio/AudioFormat.hpp"
#include "Platform/Audio/AudioPCMBuffer.hpp"

namespace orrelith::platform {

// An audio file opened for reading (made by AudioSystem::openFileForReading). Reading is sequential from
// the first frame; each read continues where the last one ended.
//
// Used by one thread at a time; reads are synchronous and call nothing back.
class AudioFile {
public:
    virtual ~AudioFile() = default;
    // The format reads deliver: the file's own sample rate and channel count, as floats.
    virtual AudioFormat processingFormat() const = 0;
    // The file's length in frames, exactly.
    virtual AudioFramePosition length() const = 0;
    // Fills `buffer` from the current position until it is full or the file ends, and sets its frame
    // length to the frames read. False, with the buffer's content unspecified, when the buffer's format is
    // not the processing format or the file cannot be read.
    virtual bool readIntoBuffer(AudioPCMBuffer& buffer) = 0;
};

} // namespace orrelith::platform
