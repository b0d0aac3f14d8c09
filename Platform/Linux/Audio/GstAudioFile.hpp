#pragma once

#include "Platform/Audio/AudioFile.hpp"

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

typedef struct _GstBuffer GstBuffer;

namespace orrelith::platform {

// An audio file decoded whole into memory when it is opened:
//     filesrc ! decodebin ! audioconvert ! appsink (32-bit float, interleaved, the file's own rate and
//     channels)
// pulled until the end of the stream, so that its length is the exact count of decoded frames and nothing
// is resampled. The decoder's streaming threads run at the lowest priority (GstBackgroundTaskPool). Reads
// copy from the decoded chunks and let go of each chunk once it has been read.
// One thread at a time; opening blocks for the decode and calls nothing back.
class GstAudioFile : public AudioFile {
public:
    // Null when the file is missing or unreadable, holds no decodable audio, changes format midway, or is
    // longer than a buffer can hold; also when `abandoned` becomes true before the decode ends.
    static std::shared_ptr<GstAudioFile> open(const std::filesystem::path& path,
                                              const std::atomic<bool>* abandoned = nullptr);
    ~GstAudioFile() override;
    GstAudioFile(const GstAudioFile&) = delete;
    GstAudioFile& operator=(const GstAudioFile&) = delete;

    AudioFormat processingFormat() const override { return format_; }
    AudioFramePosition length() const override { return length_; }
    bool readIntoBuffer(AudioPCMBuffer& buffer) override;
    // What the file was decoded from, outermost first, as GStreamer's media types: the container's, then
    // the encoded stream's (an ALAC track in an .m4a: "video/quicktime", "audio/x-alac"; AAC there gives
    // "audio/mpeg"). Raw PCM is not listed, so a WAV file gives only "audio/x-wav".
    const std::vector<std::string>& mediaTypes() const { return mediaTypes_; }

    struct Decoded {
        AudioFormat format;
        AudioFramePosition length = 0;
        std::vector<GstBuffer*> chunks;
        std::vector<std::string> mediaTypes;
    };
    explicit GstAudioFile(Decoded decoded);

private:
    AudioFormat format_;
    AudioFramePosition length_;
    std::vector<GstBuffer*> chunks_;
    std::vector<std::string> mediaTypes_;
    // The first chunk not yet wholly read, and the bytes of it already read.
    std::size_t chunk_ = 0;
    std::size_t offset_ = 0;
};

} // namespace orrelith::platform
