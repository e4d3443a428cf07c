// The ports an audio route plays through.
#pragma once

#include "platform/avfoundation/AVAudioSessionPortDescription.h"

#include <vector>

struct AVAudioSessionRouteDescription {
    std::vector<AVAudioSessionPortDescription> outputs;
};
