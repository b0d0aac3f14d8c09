#include "Platform/Linux/Audio/GstAudioPlayerNode.hpp"

#include "Platform/Linux/Audio/GstAudioEngine.hpp"

namespace orrelith::platform {

void GstAudioPlayerNode::scheduleBuffer(std::shared_ptr<const AudioPCMBuffer> buffer, BufferOptions options) {
    if (!buffer || buffer->frameLength() == 0)
        return;
    scheduled_ = Scheduled{buffer, options};
    // A playing node moves on to the new buffer with its next chunk.
    if (playing_)
        feed_->schedule(std::move(buffer), options);
}

void GstAudioPlayerNode::play() {
    auto engine = engine_.lock();
    if (playing_ || !engine || !engine->isRunning())
        return;
    feed_->clear();
    feed_->restart();
    if (scheduled_)
        feed_->schedule(scheduled_->buffer, scheduled_->options);
    playing_ = engine->playConnected(*this);
}

void GstAudioPlayerNode::stop() {
    scheduled_.reset();
    feed_->halt();
    if (playing_)
        if (auto engine = engine_.lock())
            engine->haltConnected(*this);
    playing_ = false;
    feed_->clear();
}

bool GstAudioPlayerNode::isPlaying() const {
    auto engine = engine_.lock();
    return playing_ && engine && engine->isRunning();
}

void GstAudioPlayerNode::connectTo(std::weak_ptr<GstAudioEngine> engine, const AudioFormat& format) {
    engine_ = std::move(engine);
    feed_->setFormat(format);
}

} // namespace orrelith::platform
