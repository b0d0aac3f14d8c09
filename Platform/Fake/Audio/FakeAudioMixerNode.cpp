#include "Platform/Fake/Audio/FakeAudioMixerNode.hpp"

namespace orrelith::platform {

void FakeAudioMixerNode::setOutputVolume(float volume) {
    volume_ = volume;
    if (auto system = system_.lock())
        system->mutableRecord().volumeSets.push_back({system->now(), volume});
}

} // namespace orrelith::platform
