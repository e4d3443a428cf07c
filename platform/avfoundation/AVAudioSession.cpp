#include "platform/avfoundation/AVAudioSession.h"

std::shared_ptr<AVAudioSession> AVAudioSession::sharedInstance() {
    static const std::shared_ptr<AVAudioSession> session = make<AVAudioSession>();
    return session;
}

AVAudioSessionRouteDescription AVAudioSession::currentRoute() const {
    return {{{AVAudioSessionPortBuiltInSpeaker, AVAudioSessionPortBuiltInSpeaker}}};
}
