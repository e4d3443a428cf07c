// The app's audio session, as far as the ad engine asks about sound: this headless
// machine plays through one built-in speaker at full volume. Both are fixed: the output
// volume is 1.0 and the current route has one output port, named as its type,
// AVAudioSessionPortBuiltInSpeaker ("Speaker"). No input ports.
#pragma once

#include "platform/avfoundation/AVAudioSessionRouteDescription.h"
#include "platform/base/NSObject.h"

#include <memory>

class AVAudioSession : public NSObject {
    NS_OBJECT(AVAudioSession)
public:
    static std::shared_ptr<AVAudioSession> sharedInstance();

    float outputVolume() const { return 1.0f; }
    AVAudioSessionRouteDescription currentRoute() const;

private:
    AVAudioSession() = default;
};
